#include "PropertyAssignment.h"

#include <QFileInfo>
#include <QImageReader>
#include <map>

namespace vt::render {

namespace {

using button::ButtonState;

bool parseInt(const QString& text, std::int32_t& out) {
    bool ok = false;
    const QString t = text.trimmed();
    if (t.startsWith("0x", Qt::CaseInsensitive) || t.startsWith("&H", Qt::CaseInsensitive)) {
        const qulonglong v = t.mid(2).toULongLong(&ok, 16);
        if (!ok || v > 0xFFFFFFFFull) return false;
        out = std::int32_t(std::uint32_t(v));
        return true;
    }
    const qlonglong v = t.toLongLong(&ok, 10);
    if (!ok || v < INT32_MIN || v > INT32_MAX) return false;
    out = std::int32_t(v);
    return true;
}

bool parseFont(const QString& text, QFont& font) {
    const QStringList parts = text.split(',');
    if (parts.size() < 2 || parts[0].trimmed().isEmpty()) return false;
    bool ok = false;
    const double points = parts[1].trimmed().toDouble(&ok);
    if (!ok || points <= 0 || points > 1000) return false;
    QFont f(parts[0].trimmed());
    f.setPointSizeF(points);
    for (int i = 2; i < parts.size(); ++i) {
        const QString flag = parts[i].trimmed().toLower();
        if (flag == "bold") {
            f.setBold(true);
        } else if (flag == "italic") {
            f.setItalic(true);
        } else if (flag == "underline") {
            f.setUnderline(true);
        } else {
            return false;
        }
    }
    font = f;
    return true;
}

bool loadPicture(const QString& path, button::PictureRef& out, QString& why) {
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        why = reader.errorString();
        return false;
    }
    auto picture = std::make_shared<button::Picture>();
    const QString suffix = QFileInfo(path).suffix().toLower();
    // Icons and images with their own transparency are drawn as icons, over the mask colour.
    picture->type = (suffix == "ico" || suffix == "cur" || image.hasAlphaChannel()) ? button::Picture::Icon
                                                                                    : button::Picture::Bitmap;
    picture->image = picture->type == button::Picture::Icon ? image.convertToFormat(QImage::Format_ARGB32)
                                                            : image.convertToFormat(QImage::Format_RGB32);
    picture->sourcePath = path;
    out = picture;
    return true;
}

using IntField = std::int32_t ButtonState::*;
using BoolField = bool ButtonState::*;

}  // namespace

bool applyProperty(ButtonState& state, const QString& key, const QString& value, QString& error) {
    static const std::map<QString, IntField> integers{
        {"BTYPE", &ButtonState::ButtonType}, {"COLTYPE", &ButtonState::ColorScheme},
        {"BCOL", &ButtonState::BackColor},   {"BCOLO", &ButtonState::BackOver},
        {"FCOL", &ButtonState::ForeColor},   {"FCOLO", &ButtonState::ForeOver},
        {"MCOL", &ButtonState::MaskColor},   {"PICPOS", &ButtonState::PicturePosition},
        {"FX", &ButtonState::SpecialEffect}};
    static const std::map<QString, BoolField> booleans{
        {"ENAB", &ButtonState::Enabled},       {"FOCUSR", &ButtonState::ShowFocusRect},
        {"UMCOL", &ButtonState::UseMaskColor}, {"SOFT", &ButtonState::SoftBevel},
        {"NGREY", &ButtonState::UseGreyscale}, {"CHECK", &ButtonState::CheckBoxBehaviour},
        {"VALUE", &ButtonState::Value}};

    auto bad = [&](const QString& what) {
        error = QString("%1: %2 (%3)").arg(key, what, value);
        return false;
    };
    std::int32_t number = 0;
    if (const auto it = integers.find(key); it != integers.end()) {
        if (!parseInt(value, number)) return bad("not a 32-bit integer");
        state.*(it->second) = number;
        return true;
    }
    if (const auto it = booleans.find(key); it != booleans.end()) {
        if (!parseInt(value, number)) return bad("not a boolean number");
        state.*(it->second) = number != 0;
        return true;
    }
    if (key == "TX") {
        state.Caption = value;
        return true;
    }
    if (key == "FONT") {
        if (!parseFont(value, state.Font)) return bad("expected family,points[,bold][,italic][,underline]");
        return true;
    }
    if (key == "PICN" || key == "PICH") {
        QString why;
        button::PictureRef& target = key == "PICN" ? state.PictureNormal : state.PictureOver;
        if (!loadPicture(value, target, why)) return bad("cannot read the image: " + why);
        return true;
    }
    if (key == "MPTR") {
        if (!parseInt(value, number) || number < INT16_MIN || number > INT16_MAX)
            return bad("not a 16-bit integer");
        return true;
    }
    if (key == "HAND") {
        if (!parseInt(value, number)) return bad("not a boolean number");
        return true;
    }
    if (key == "MICON") {
        QString why;
        button::PictureRef ignored;
        if (!value.isEmpty() && !loadPicture(value, ignored, why))
            return bad("cannot read the image: " + why);
        return true;
    }
    error = QString("unknown property key: %1").arg(key);
    return false;
}

}  // namespace vt::render
