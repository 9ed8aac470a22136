#include "skin/skinfile.h"

#include <algorithm>
#include <sstream>

namespace zvskin {

namespace {

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool RoleNamed(const std::string& name, QPalette::ColorRole& role) {
    static const std::pair<const char*, QPalette::ColorRole> roles[] = {
        {"Window", QPalette::Window},
        {"WindowText", QPalette::WindowText},
        {"Base", QPalette::Base},
        {"AlternateBase", QPalette::AlternateBase},
        {"ToolTipBase", QPalette::ToolTipBase},
        {"ToolTipText", QPalette::ToolTipText},
        {"PlaceholderText", QPalette::PlaceholderText},
        {"Text", QPalette::Text},
        {"Button", QPalette::Button},
        {"ButtonText", QPalette::ButtonText},
        {"BrightText", QPalette::BrightText},
        {"Highlight", QPalette::Highlight},
        {"HighlightedText", QPalette::HighlightedText},
        {"Link", QPalette::Link},
        {"LinkVisited", QPalette::LinkVisited},
        {"Light", QPalette::Light},
        {"Midlight", QPalette::Midlight},
        {"Mid", QPalette::Mid},
        {"Dark", QPalette::Dark},
        {"Shadow", QPalette::Shadow},
    };
    for (const auto& [n, r] : roles)
        if (name == n) {
            role = r;
            return true;
        }
    return false;
}

} // namespace

QPalette SkinFile::palette() const {
    QPalette p;
    for (const auto& [role, color] : colors) {
        p.setColor(QPalette::All, role, color);
        if (role == QPalette::WindowText || role == QPalette::Text || role == QPalette::ButtonText) {
            QColor disabled = color;
            disabled.setAlpha(120);
            p.setColor(QPalette::Disabled, role, disabled);
        }
    }
    return p;
}

bool ParseSkin(const std::string& text, SkinFile& out) {
    out = SkinFile{};
    std::istringstream in(text);
    std::string line, section;
    std::string sheet;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string t = Trim(line);
        if (section != "stylesheet" && (t.empty() || t[0] == ';' || t[0] == '#')) continue;
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            section = Trim(t.substr(1, t.size() - 2));
            continue;
        }
        if (section == "stylesheet") {
            sheet += line + "\n";
            continue;
        }
        const auto eq = t.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = Trim(t.substr(0, eq)), value = Trim(t.substr(eq + 1));
        if (section == "skin" && key == "name") out.name = value;
        QPalette::ColorRole role;
        if (section == "palette" && RoleNamed(key, role)) {
            const QColor c(QString::fromStdString(value));
            if (c.isValid()) out.colors.emplace_back(role, c);
        }
    }
    out.styleSheet = QString::fromUtf8(sheet.data(), static_cast<qsizetype>(sheet.size()));
    return !out.colors.empty();
}

QPalette Tinted(const QPalette& base, int hue, int saturation, int brightness) {
    if (hue == 0 && saturation == 0 && brightness == 0) return base;
    hue = std::clamp(hue, 0, 180);
    saturation = std::clamp(saturation, 0, 100);
    brightness = std::clamp(brightness, 0, 100);
    QPalette p = base;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            const auto role = static_cast<QPalette::ColorRole>(r);
            QColor c = base.color(group, role).toHsl();
            int h = c.hslHue() < 0 ? 0 : c.hslHue();
            int s = c.hslSaturation(), l = c.lightness();
            h = (h + hue * 2) % 360;
            // A grey takes on the hue only as far as saturation asks for it.
            s = std::min(255, s + (255 - s) * saturation / 200 + (c.hslHue() < 0 ? saturation : 0));
            l = std::min(255, l + (255 - l) * brightness / 250);
            p.setColor(group, role, QColor::fromHsl(h, s, l, c.alpha()));
        }
    return p;
}

} // namespace zvskin
