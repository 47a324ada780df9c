// Labels, memos and their lines.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"

// A list of text lines that tells its owner when it changes.
class TStrings {
public:
    void Clear();
    void Add(std::string line);
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& Lines() const { return lines_; }
    // The lines joined with CR LF, as a multi-line edit control holds them.
    std::string Text() const;

    std::function<void()> OnChange;

private:
    std::vector<std::string> lines_;
};

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };

// A control without a window of its own: drawn by its parent.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
};

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    bool AutoSize() const { return autoSize_; }
    void SetProperty(std::string_view name, std::string_view value) override;

private:
    bool autoSize_ = true;
};

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;

    TStrings* const Lines;
    void Clear() { Lines->Clear(); }

    bool WordWrap() const { return wordWrap_; }
    bool ReadOnly() const { return readOnly_; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetProperty(std::string_view name, std::string_view value) override;

private:
    bool wordWrap_ = true;
    bool readOnly_ = false;
    TBorderStyle borderStyle_ = bsSingle;
};

// A one-line edit box, without a length limit.
class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);
    const std::string& Text() const { return Caption(); }
    void SetText(std::string text) { SetCaption(std::move(text)); }
};
