// Pictures and bevels.
#pragma once

#include <string>

#include "framework/StdCtrls.h"

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner) : TGraphicControl(AOwner) {}
    // The name of the bitmap among the program's resources.
    const std::string& Picture() const { return picture_; }
    bool Stretch() const { return stretch_; }
    void SetProperty(std::string_view name, std::string_view value) override;

private:
    std::string picture_;
    bool stretch_ = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {}
    TBevelShape Shape() const { return shape_; }
    TBevelStyle Style() const { return style_; }
    void SetProperty(std::string_view name, std::string_view value) override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};
