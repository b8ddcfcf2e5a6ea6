#include "Program.h"

#include "QtPlatform.h"
#include "Widgets.h"
#include "text/Identity.h"
#include "text/UnicodeAdds.h"

#include <QApplication>

namespace partsmith {

Program::Program(Platform& platform, StartParameters start)
    : frmMain(platform, std::move(start)), frmSelDir(&frmMain),
      frmCnfFile(platform, frmMain.Errors(), &frmMain), frmStartup(platform, &frmMain),
      frmPasswd(&frmMain) {
    frmMain.AttachDialogs(frmSelDir, frmCnfFile, frmStartup, frmPasswd);
}

int RunPartsmith(QApplication& application) {
    // Only the name: a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setWindowIcon(ProgramIcon());
    // The pages are laid out for a compact 8-point face; a larger desktop font would push the
    // tabs of the seven pages past the window's width.
    QFont font = QApplication::font();
    if (font.pointSizeF() > 8.0) {
        font.setPointSizeF(8.0);
        QApplication::setFont(font);
    }
    QtPlatform platform;
    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    Program program(platform,
                    {PathFromUtf8(QApplication::applicationFilePath().toStdString()), arguments});
    program.frmMain.show();
    return application.exec();
}

} // namespace partsmith
