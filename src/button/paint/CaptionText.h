#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <vector>

#include "button/ButtonState.h"

namespace vt::button {

// A caption as the button's text routine lays it out: "&x" marks x as the access character (drawn
// underlined) and "&&" stands for one ampersand; lines break at explicit line breaks and, when too wide,
// between words (a word wider than the space gets a line of its own and is not split). The font's point
// size is taken at 96 dots per inch, so layout does not depend on the screen.
class CaptionText {
  public:
    CaptionText(const QString& caption, const QFont& font);

    // Measures the caption wrapped to the width of `rect`: left and top are kept, right becomes left plus
    // the widest line, bottom lies below the last line. An empty caption gives an empty rectangle.
    IntRect measure(const IntRect& rect) const;

    // Draws the caption wrapped to the width of `rect` with a transparent background, each line centred
    // horizontally, the first line at the top, clipped to `rect`. Right-to-left runs are shaped and
    // ordered right to left.
    void draw(QImage& surface, const IntRect& rect, Rgb color) const;

  private:
    struct Line {
        QString text;
        std::vector<int> underlined;  // positions in `text` of access characters
        int width = 0;
    };
    std::vector<Line> wrap(std::int64_t width) const;
    int advance(const QString& text) const;

    QFont font_;
    QString text_;                 // the caption with its ampersands resolved
    std::vector<bool> underline_;  // per character of text_
};

}  // namespace vt::button
