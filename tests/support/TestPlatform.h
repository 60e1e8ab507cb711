#pragma once

#include <QTemporaryDir>

#include "platform/Platform.h"
#include "support/FakeDrives.h"
#include "support/FakeMessageService.h"
#include "support/FakeShell.h"
#include "support/FakeSystemColors.h"

namespace vt::test {

// A whole fake platform whose program folder is a fresh temporary folder.
struct TestPlatform {
    QTemporaryDir folder;
    FakeMessageService messages;
    FakeDriveTable drives;
    FakeFileSystem fileSystem{drives};
    FakeShell shell;
    FakeSystemColors systemColors;

    Platform platform() { return Platform{messages, drives, fileSystem, shell, systemColors, folder.path()}; }
    QString catalogPath() const { return folder.path() + QStringLiteral("/Mydb.mdb"); }
};

}  // namespace vt::test
