#include "button/persist/FormValueSyntax.h"

#include <QFileInfo>
#include <QImage>

namespace vt::button::FormValueSyntax {

namespace {

constexpr double kMaxFontPoints = 1638.0;

QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\':
                out += QStringLiteral("\\\\");
                break;
            case '"':
                out += QStringLiteral("\\\"");
                break;
            case '\n':
                out += QStringLiteral("\\n");
                break;
            case '\r':
                out += QStringLiteral("\\r");
                break;
            case '\t':
                out += QStringLiteral("\\t");
                break;
            default:
                if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                    out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                else
                    out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString truth(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

// A reader over one value's text; every parse step reports its own error and stops at the first.
class Cursor {
  public:
    explicit Cursor(const QString& text) : text_(text) {}

    bool failed() const { return !error_.isEmpty(); }
    const QString& error() const { return error_; }
    void fail(const QString& message) {
        if (error_.isEmpty()) error_ = message;
    }

    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == QLatin1Char(' ') || text_[pos_] == QLatin1Char('\t')))
            ++pos_;
    }
    bool atEnd() {
        skipBlanks();
        return pos_ >= text_.size();
    }
    QChar peek() {
        skipBlanks();
        return pos_ < text_.size() ? text_[pos_] : QChar();
    }
    bool accept(QChar c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }
    void expect(QChar c) {
        if (failed()) return;
        if (!accept(c)) fail(QStringLiteral("\"%1\" was expected at column %2").arg(c).arg(pos_ + 1));
    }
    QString word() {
        skipBlanks();
        const int start = pos_;
        while (pos_ < text_.size() && text_[pos_].isLetter() && text_[pos_].unicode() < 0x80) ++pos_;
        return text_.mid(start, pos_ - start);
    }

    // The readers below return a neutral value once the cursor has failed, so that a whole value can
    // be read in sequence and checked once at the end.
    std::int64_t integer() {
        if (failed()) return 0;
        skipBlanks();
        const int start = pos_;
        if (text_.mid(pos_, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
            pos_ += 2;
            const int digits = pos_;
            while (pos_ < text_.size() && isHexDigit(text_[pos_])) ++pos_;
            bool ok = false;
            const std::uint32_t bits = text_.mid(digits, pos_ - digits).toUInt(&ok, 16);
            if (!ok || pos_ - digits > 8) {
                fail(QStringLiteral("\"%1\" is not a 32-bit hexadecimal number")
                         .arg(text_.mid(start, pos_ - start)));
                return 0;
            }
            return static_cast<std::int32_t>(bits);
        }
        if (pos_ < text_.size() && text_[pos_] == QLatin1Char('-')) ++pos_;
        while (pos_ < text_.size() && isDecimalDigit(text_[pos_])) ++pos_;
        bool ok = false;
        const qlonglong n = text_.mid(start, pos_ - start).toLongLong(&ok);
        if (!ok) fail(QStringLiteral("a whole number was expected at column %1").arg(start + 1));
        return ok ? n : 0;
    }

    double decimal() {
        if (failed()) return 0;
        skipBlanks();
        const int start = pos_;
        while (pos_ < text_.size() && (isDecimalDigit(text_[pos_]) || text_[pos_] == QLatin1Char('.')))
            ++pos_;
        bool ok = false;
        const double d = text_.mid(start, pos_ - start).toDouble(&ok);
        if (!ok) fail(QStringLiteral("a number was expected at column %1").arg(start + 1));
        return ok ? d : 0;
    }

    QString string() {
        if (failed()) return {};
        skipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != QLatin1Char('"')) {
            fail(QStringLiteral("a quoted text was expected at column %1").arg(pos_ + 1));
            return {};
        }
        ++pos_;
        QString out;
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_++];
            if (c == QLatin1Char('"')) return out;
            if (c != QLatin1Char('\\')) {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) break;
            const QChar e = text_[pos_++];
            switch (e.unicode()) {
                case '\\':
                    out += QLatin1Char('\\');
                    break;
                case '"':
                    out += QLatin1Char('"');
                    break;
                case 'n':
                    out += QLatin1Char('\n');
                    break;
                case 'r':
                    out += QLatin1Char('\r');
                    break;
                case 't':
                    out += QLatin1Char('\t');
                    break;
                case 'u': {
                    bool ok = false;
                    const QString hex = text_.mid(pos_, 4);
                    const ushort code = hex.toUShort(&ok, 16);
                    if (!ok || hex.size() != 4) {
                        fail(QStringLiteral("\\u must be followed by four hexadecimal digits"));
                        return {};
                    }
                    out += QChar(code);
                    pos_ += 4;
                    break;
                }
                default:
                    fail(QStringLiteral("unknown escape \\%1 in a text").arg(e));
                    return {};
            }
        }
        fail(QStringLiteral("the text has no closing quote"));
        return {};
    }

  private:
    static bool isDecimalDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
    static bool isHexDigit(QChar c) {
        const char16_t u = c.unicode();
        return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
    }

    const QString& text_;
    int pos_ = 0;
    QString error_;
};

bool isPlainFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20)
            return false;
    return true;
}

BagValue decodeFont(Cursor& in) {
    in.expect(QLatin1Char('('));
    const QString name = in.string();
    in.expect(QLatin1Char(','));
    const double points = in.decimal();
    in.expect(QLatin1Char(','));
    const std::int64_t weight = in.integer();
    bool flags[3] = {};
    for (bool& flag : flags) {
        in.expect(QLatin1Char(','));
        flag = in.integer() != 0;
    }
    in.expect(QLatin1Char(')'));
    if (in.failed()) return {};
    if (name.trimmed().isEmpty()) in.fail(QStringLiteral("the font has no name"));
    if (!(points > 0.0 && points <= kMaxFontPoints))
        in.fail(QStringLiteral("a font size of %1 points is out of range").arg(points));
    if (weight < 1 || weight > 1000)
        in.fail(QStringLiteral("a font weight of %1 is out of range").arg(weight));
    if (in.failed()) return {};
    QFont font;
    font.setFamilies({name});
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(flags[0]);
    font.setUnderline(flags[1]);
    font.setStrikeOut(flags[2]);
    return BagValue::font(font);
}

BagValue decodePicture(Cursor& in, const QString& folder) {
    in.expect(QLatin1Char('('));
    if (in.failed()) return {};
    if (in.accept(QLatin1Char(')'))) return BagValue::picture(std::make_shared<Picture>());
    const QString file = in.string();
    in.expect(QLatin1Char(','));
    const std::int64_t type = in.integer();
    in.expect(QLatin1Char(')'));
    if (in.failed()) return {};
    if (!isPlainFileName(file)) {
        in.fail(QStringLiteral("\"%1\" is not a plain file name beside the form file").arg(file));
        return {};
    }
    if (type != Picture::Bitmap && type != Picture::Icon) {
        in.fail(QStringLiteral("picture type %1 is neither 1 (bitmap) nor 3 (icon)").arg(type));
        return {};
    }
    const QString path = folder + QLatin1Char('/') + file;
    const QImage image(path);
    if (image.isNull()) {
        in.fail(QStringLiteral("the picture file \"%1\" cannot be read").arg(path));
        return {};
    }
    auto picture = std::make_shared<Picture>();
    picture->type = static_cast<int>(type);
    picture->image =
        image.convertToFormat(type == Picture::Bitmap ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    picture->sourcePath = path;
    return BagValue::picture(std::move(picture));
}

}  // namespace

QString encode(const BagValue& value, const QString& pictureFile) {
    switch (value.kind()) {
        case BagValue::Kind::Empty:
            return {};
        case BagValue::Kind::Integer:
            if (value.isHex())
                return QStringLiteral("0x") +
                       QString::number(static_cast<std::uint32_t>(value.toInteger()), 16)
                           .toUpper()
                           .rightJustified(8, QLatin1Char('0'));
            return QString::number(value.toInteger());
        case BagValue::Kind::Text:
            return quoted(value.toText());
        case BagValue::Kind::Font: {
            const QFont& f = value.toFont();
            const QString name = f.families().isEmpty() ? f.family() : f.families().first();
            return QStringLiteral("font(%1, %2, %3, %4, %5, %6)")
                .arg(quoted(name), QString::number(f.pointSizeF(), 'g', 6), QString::number(int(f.weight())),
                     truth(f.italic()), truth(f.underline()), truth(f.strikeOut()));
        }
        case BagValue::Kind::Picture: {
            const PictureRef& p = value.toPicture();
            if (!p || p->image.isNull()) return QStringLiteral("picture()");
            return QStringLiteral("picture(%1, %2)").arg(quoted(pictureFile)).arg(p->type);
        }
    }
    return {};
}

Decoded decode(const QString& text, const QString& folder) {
    Cursor in(text);
    BagValue value;
    const QChar first = in.peek();
    if (first == QLatin1Char('"')) {
        value = BagValue::text(in.string());
    } else if (first == QLatin1Char('-') || (first.unicode() >= '0' && first.unicode() <= '9')) {
        const bool hex = text.trimmed().startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
        const std::int64_t n = in.integer();
        value = hex ? BagValue::colour(static_cast<ColorValue>(n)) : BagValue::integer(n);
    } else {
        const QString kind = in.word();
        if (kind == QLatin1String("font"))
            value = decodeFont(in);
        else if (kind == QLatin1String("picture"))
            value = decodePicture(in, folder);
        else
            in.fail(first.isNull() ? QStringLiteral("the value is missing")
                                   : QStringLiteral("\"%1\" is not a value").arg(text.trimmed()));
    }
    if (!in.failed() && !in.atEnd())
        in.fail(QStringLiteral("unexpected text after the value: \"%1\"").arg(text.trimmed()));
    if (in.failed()) return {BagValue(), in.error()};
    return {value, QString()};
}

}  // namespace vt::button::FormValueSyntax
