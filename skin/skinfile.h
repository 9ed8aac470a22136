// The skin file format (docs/skin-format.md) and the tint of a palette.
#pragma once

#include <QPalette>
#include <string>
#include <vector>

namespace zvskin {

struct SkinFile {
    std::string name;
    std::vector<std::pair<QPalette::ColorRole, QColor>> colors;
    QString styleSheet;
    QPalette palette() const;
};

// False when the text is not a skin file (no "[palette]" with at least one colour).
bool ParseSkin(const std::string& text, SkinFile& out);

// Hue turned by hue * 2 degrees, saturation and brightness raised by their percentages;
// zeros give the palette unchanged.
QPalette Tinted(const QPalette& base, int hue, int saturation, int brightness);

} // namespace zvskin
