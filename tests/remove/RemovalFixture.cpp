#include "RemovalFixture.h"

#include <QTest>

#include "button/MyButton.h"

namespace vt::test {

void RemovalFixture::clickDelete() {
    QTest::mouseClick(&form->cmdDelete(), Qt::LeftButton);
}

}  // namespace vt::test
