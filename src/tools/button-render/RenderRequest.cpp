#include "RenderRequest.h"

#include "PropertyAssignment.h"

namespace vt::render {

namespace {

bool parseSize(const QString& text, std::int32_t& out) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 1 || v > 16384) return false;
    out = v;
    return true;
}

}  // namespace

QString usageText() {
    return QStringLiteral(
        "usage: button-render --out FILE.png --width W --height H [--state up|down] [--hover] [--focus]\n"
        "                     [--default] [KEY=VALUE ...]\n"
        "       button-render --gallery FILE.png\n"
        "KEY is a stored button property (BTYPE, TX, ENAB, FONT, COLTYPE, FOCUSR, BCOL, BCOLO, FCOL, FCOLO,\n"
        "MCOL, MPTR, MICON, PICN, PICH, UMCOL, SOFT, PICPOS, NGREY, FX, HAND, CHECK, VALUE); integers are\n"
        "decimal or 0x-hex, booleans -1/0, FONT is \"family,points[,bold][,italic][,underline]\", PICN/PICH\n"
        "are image files.\n");
}

bool parseRequest(const QStringList& args, RenderRequest& request, QString& error) {
    request.button.Font = QFont("Tahoma");
    request.button.Font.setPointSizeF(9);
    bool haveWidth = false, haveHeight = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto next = [&](QString& value) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        QString value;
        if (arg == "--out" || arg == "--gallery") {
            if (!next(value)) return false;
            (arg == "--out" ? request.out : request.gallery) = value;
        } else if (arg == "--width" || arg == "--height") {
            if (!next(value)) return false;
            std::int32_t& target = arg == "--width" ? request.width : request.height;
            if (!parseSize(value, target)) {
                error = arg + " must be a whole number of pixels from 1 to 16384: " + value;
                return false;
            }
            (arg == "--width" ? haveWidth : haveHeight) = true;
        } else if (arg == "--state") {
            if (!next(value)) return false;
            if (value != "up" && value != "down") {
                error = "--state must be up or down: " + value;
                return false;
            }
            request.paintState = value == "up" ? button::StateUp : button::StateDown;
        } else if (arg == "--hover") {
            request.button.MouseIsOver = true;
        } else if (arg == "--focus") {
            request.button.HasFocus = true;
        } else if (arg == "--default") {
            request.button.DisplayAsDefault = true;
        } else if (!arg.startsWith("--") && arg.contains('=')) {
            const qsizetype eq = arg.indexOf('=');
            if (!applyProperty(request.button, arg.left(eq).toUpper(), arg.mid(eq + 1), error)) return false;
        } else {
            error = "unknown argument: " + arg;
            return false;
        }
    }
    if (request.out.isEmpty() && request.gallery.isEmpty()) {
        error = "nothing to do: give --out or --gallery";
        return false;
    }
    if (!request.out.isEmpty() && (!haveWidth || !haveHeight)) {
        error = "--out needs --width and --height";
        return false;
    }
    return true;
}

}  // namespace vt::render
