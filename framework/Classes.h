// The framework's basic types: objects and their owners, events, colours, fonts, rectangles, and the
// framework's exception class.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// The framework's exception class. The message loop shows one raised in a handler in the exception
// box and goes on; the program entry shows one raised while windows are created and ends.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

// Formats a message like the framework's exception constructors with a format: one %s argument.
std::string FormatMessageText(const char* format, const std::string& argument);

// An owner destroys what it owns, last created first.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    // Set on a component and everything it owns as soon as its destruction begins, so that no event
    // reaches a handler whose form is half gone.
    bool Destroying() const { return destroying_; }
    void BeginDestruction();
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const std::string& name) const;

    std::string Name;

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
    bool destroying_ = false;
};

// Colours: 0x00BBGGRR for plain colours; the high bit marks a system colour, by its index.
using TColor = std::int32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMenu = static_cast<TColor>(0x80000004u);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
inline constexpr TColor clInactiveBorder = static_cast<TColor>(0x8000000Bu);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
inline constexpr TColor clInactiveCaptionText = static_cast<TColor>(0x80000013u);
inline constexpr TColor clInfoBk = static_cast<TColor>(0x80000018u);

inline bool IsSystemColor(TColor color) {
    return (static_cast<std::uint32_t>(color) & 0x80000000u) != 0;
}
inline int SystemColorIndex(TColor color) {
    return static_cast<int>(color & 0xFF);
}

inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SHIFTJIS_CHARSET = 128;
inline constexpr int CHINESEBIG5_CHARSET = 136;

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

struct TFont {
    std::string Name = "MS Sans Serif";  // the face name's bytes, in the character set's code page
    int Charset = DEFAULT_CHARSET;
    int Height = -11;  // negative: character height in pixels without internal leading
    TFontStyles Style = 0;
    TColor Color = clWindowText;

    bool operator==(const TFont&) const = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};
