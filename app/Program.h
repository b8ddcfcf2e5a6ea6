// The five windows of the program, created in their order and kept until the end.
#pragma once

#include "MainWindow.h"
#include "NextPartDialog.h"
#include "PasswordDialog.h"
#include "SelectDirDialog.h"
#include "StartupDialog.h"

class QApplication;

namespace partsmith {

class Platform;

class Program {
public:
    Program(Platform& platform, StartParameters start);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Members are built in this order; the main window's creation runs the start-up.
    TfrmMain frmMain;
    TfrmSelDir frmSelDir;
    TfrmCnfFile frmCnfFile;
    TfrmStartup frmStartup;
    TfrmPasswd frmPasswd;
};

// The program from its entry to the end of its message loop; returns the exit code.
int RunPartsmith(QApplication& application);

} // namespace partsmith
