#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <memory>

#include "catalog/Recordset.h"
#include "search/frmFind.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"

namespace vt::test {

// A search window over a fresh catalogue in a temporary program folder, on a fake platform.
class FindWindowFixture : public ::testing::Test {
  protected:
    FindWindowFixture();

    void addDisk(const QString& name);
    void addFile(const QString& disk, const QString& path, const QVariant& size = 1000.0);
    // Adds `count` files to one disc in one transaction; path i is `pattern` with %1 replaced by i.
    void addFiles(const QString& disk, const QString& pattern, int count);

    // Makes and loads the window, as the window registry does.
    frmFind& loadWindow();
    // Types `text`, picks disc-list entry `diskIndex` (when given) and clicks the search button.
    void search(const QString& text, int diskIndex = 0);

    QLineEdit& text1() const;
    QComboBox& combo1() const;
    QTreeWidget& listView1() const;
    QStringList column(int index) const;
    QStringList comboEntries() const;
    // The statement the window last handed to the catalogue.
    const QString& sent() const { return windowRecordset.Source(); }

    TestPlatform fake;
    AppContext context;
    Recordset windowRecordset;  // outlives the window, as the window registry's does
    std::unique_ptr<frmFind> window;
};

}  // namespace vt::test
