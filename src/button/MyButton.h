#pragma once

#include <QString>
#include <QWidget>

namespace vt {

// The program's own push button. Windows use its caption and its Click event only.
class MyButton : public QWidget {
    Q_OBJECT
public:
    explicit MyButton(QWidget* parent = nullptr);

    const QString& Caption() const { return caption_; }
    void setCaption(const QString& caption);

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString caption_;
    bool pressed_ = false;
};

}  // namespace vt
