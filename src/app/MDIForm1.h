// The main frame: MDIForm1, the program's top window, holding the button strip and the work windows.
#pragma once

#include <QMainWindow>
#include <memory>

class QLabel;
class QMdiArea;

namespace vt {

struct AppContext;
class MyButton;
class SearchIndexUpkeep;
class WindowRegistry;

// The main frame: a strip of five buttons across the top, the area the work windows open in, and a
// status bar with the time of day. It opens the catalogue when it loads.
class MDIForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit MDIForm1(AppContext& context, QWidget* parent = nullptr);
    ~MDIForm1() override;

    void MDIForm_Initialize();
    // Registers the help file and opens the catalogue the settings file names, or else the file in the
    // data folder (showing progress while an older catalogue file is brought up to date), then starts the
    // file's search index upkeep. Returns false, after telling the user why, when the settings are faulty
    // or the catalogue cannot be opened; the program then ends.
    bool MDIForm_Load();

    WindowRegistry& windows() { return *windows_; }
    QMdiArea& clientArea() { return *mdiArea_; }
    MyButton* cmdAddnew() const { return cmdAddnew_; }
    MyButton* cmdRemDisk() const { return cmdRemDisk_; }
    MyButton* cmdFind() const { return cmdFind_; }
    MyButton* cmdSetting() const { return cmdSetting_; }
    MyButton* cmdAbout() const { return cmdAbout_; }

  private slots:
    void cmdAddnew_Click();
    void cmdRemDisk_Click();
    void cmdFind_Click();
    void cmdSetting_Click();
    void cmdAbout_Click();

  protected:
    // Refused while the new-disk window is cataloguing a disc, so that no scan is cut off half-way.
    void closeEvent(QCloseEvent* event) override;
    // Disc image files dropped anywhere on the frame are attached as drives in the new-disk window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    MyButton* addStripButton(QWidget* strip, const char* name, const QString& caption, int leftTwips);
    void showTime();

    AppContext& context_;
    QMdiArea* mdiArea_;
    QLabel* timePanel_;
    MyButton* cmdAddnew_;
    MyButton* cmdRemDisk_;
    MyButton* cmdFind_;
    MyButton* cmdSetting_;
    MyButton* cmdAbout_;
    std::unique_ptr<WindowRegistry> windows_;
    std::unique_ptr<SearchIndexUpkeep> indexUpkeep_;  // from a successful load on
};

}  // namespace vt
