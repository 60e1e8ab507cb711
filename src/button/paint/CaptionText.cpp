#include "button/paint/CaptionText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "button/RgbPixel.h"
#include "button/paint/CheckedInt.h"

namespace vt::button {

namespace {

QFont atScreenResolution(const QFont& font) {
    QFont f = font;
    if (font.pixelSize() <= 0) f.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * 96.0 / 72.0))));
    return f;
}

bool isBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

}  // namespace

CaptionText::CaptionText(const QString& caption, const QFont& font) : font_(atScreenResolution(font)) {
    text_.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            text_.append(caption[i]);
            underline_.push_back(false);
            continue;
        }
        if (i + 1 >= caption.size()) break;  // a closing ampersand marks nothing and shows nothing
        ++i;
        text_.append(caption[i]);
        underline_.push_back(caption[i] != QLatin1Char('&'));
    }
}

int CaptionText::advance(const QString& text) const {
    return QFontMetrics(font_).horizontalAdvance(text);
}

std::vector<CaptionText::Line> CaptionText::wrap(std::int64_t width) const {
    std::vector<Line> lines;
    if (text_.isEmpty()) return lines;
    auto addLine = [&](qsizetype from, qsizetype to) {
        Line line;
        line.text = text_.mid(from, to - from);
        for (qsizetype i = from; i < to; ++i) {
            if (underline_[size_t(i)]) line.underlined.push_back(int(i - from));
        }
        line.width = advance(line.text);
        lines.push_back(std::move(line));
    };
    const qsizetype n = text_.size();
    qsizetype paragraph = 0;
    while (paragraph <= n) {
        qsizetype end = paragraph;
        while (end < n && !isBreak(text_[end])) ++end;
        qsizetype lineStart = paragraph;
        for (;;) {
            qsizetype accepted = lineStart;  // end of the last word that fits
            qsizetype i = lineStart;
            bool full = false;
            for (;;) {
                qsizetype wordStart = i;
                while (wordStart < end && text_[wordStart] == QLatin1Char(' ')) ++wordStart;
                if (wordStart == end) break;
                qsizetype wordEnd = wordStart;
                while (wordEnd < end && text_[wordEnd] != QLatin1Char(' ')) ++wordEnd;
                const bool first = accepted == lineStart;
                if (!first && advance(text_.mid(lineStart, wordEnd - lineStart)) > width) {
                    full = true;
                    break;
                }
                accepted = wordEnd;
                i = wordEnd;
            }
            if (!full) {
                addLine(lineStart, end);  // the paragraph's last line keeps its trailing blanks
                break;
            }
            addLine(lineStart, accepted);
            lineStart = accepted;
            while (lineStart < end && text_[lineStart] == QLatin1Char(' ')) ++lineStart;
            if (lineStart == end) break;
        }
        if (end >= n) break;
        paragraph =
            end +
            ((text_[end] == QLatin1Char('\r') && end + 1 < n && text_[end + 1] == QLatin1Char('\n')) ? 2 : 1);
        if (paragraph == n) break;
    }
    return lines;
}

IntRect CaptionText::measure(const IntRect& rect) const {
    const std::vector<Line> lines = wrap(std::int64_t(rect.right) - rect.left);
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, line.width);
    const CheckedInt height =
        CheckedInt(QFontMetrics(font_).height()) * CheckedInt(std::int32_t(lines.size()));
    return IntRect{rect.left, rect.top, (CheckedInt(rect.left) + widest).value(),
                   (CheckedInt(rect.top) + height).value()};
}

void CaptionText::draw(QImage& surface, const IntRect& rect, Rgb color) const {
    const std::int64_t width = std::int64_t(rect.right) - rect.left;
    const std::vector<Line> lines = wrap(width);
    if (lines.empty() || surface.isNull()) return;
    const int lineHeight = QFontMetrics(font_).height();
    QPainter painter(&surface);
    painter.setClipRect(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)));
    painter.setPen(toQColor(color));
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    std::int64_t y = rect.top;
    for (const Line& line : lines) {
        if (!line.text.isEmpty()) {
            QTextLayout layout(line.text, font_, &surface);
            layout.setTextOption(option);
            QList<QTextLayout::FormatRange> formats;
            for (int pos : line.underlined) {
                QTextCharFormat underline;
                underline.setFontUnderline(true);
                formats.append(QTextLayout::FormatRange{pos, 1, underline});
            }
            layout.setFormats(formats);
            layout.beginLayout();
            QTextLine textLine = layout.createLine();
            textLine.setPosition(QPointF(0, 0));
            layout.endLayout();
            const std::int64_t x = rect.left + (width - line.width) / 2;
            layout.draw(&painter, QPointF(double(x), double(y)));
        }
        y += lineHeight;
    }
}

}  // namespace vt::button
