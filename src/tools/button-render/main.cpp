// button-render: paints the program's button control off screen into PNG files, for people (and
// reviewers) to look at its faces without running the program.
#include <QGuiApplication>
#include <QTextStream>

#include "ButtonRenderer.h"
#include "Gallery.h"
#include "RenderRequest.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.contains("--help") || args.contains("-h")) {
        QTextStream(stdout) << vt::render::usageText();
        return 0;
    }
    vt::render::RenderRequest request;
    QString error;
    if (!vt::render::parseRequest(args, request, error)) {
        err << "button-render: " << error << "\n" << vt::render::usageText();
        return 2;
    }
    try {
        if (!request.out.isEmpty()) {
            const QImage image =
                vt::render::renderButton(request.button, request.width, request.height, request.paintState);
            if (!image.save(request.out, "PNG")) {
                err << "button-render: cannot write " << request.out << "\n";
                return 1;
            }
        }
        if (!request.gallery.isEmpty() && !vt::render::renderGallery().save(request.gallery, "PNG")) {
            err << "button-render: cannot write " << request.gallery << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        err << "button-render: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
