#pragma once

#include <QImage>

namespace vt::render {

// One labelled sheet: a row per style (1 to 14), and for each of the four colour schemes a column per
// look (up, hover, down, disabled). Every button carries a caption and a small masked bitmap.
QImage renderGallery();

}  // namespace vt::render
