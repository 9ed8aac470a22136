// The Zorvane client: wires the platform, the transport's event pump and the main window.
#include "gui/base/geometry.h"
#include "gui/base/instance.h"
#include "gui/base/widgets.h"
#include "gui/main/mainwindow.h"
#include "net/webrequest.h"
#include "store/settings.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(zv::names::kApplicationId));

    // A second start hands its command line to the running client and ends.
    zv::SingleInstance instance;
    zv::MainWindow* running = nullptr;
    if (!instance.Claim(QCoreApplication::arguments(), [&running](const QStringList& arguments) {
            if (running) running->TakeArguments(arguments);
        }))
        return 0;

    zv::InstallProgramStyle();
    zv::UseFiles(zv::LocateFiles(QCoreApplication::applicationDirPath().toStdString()));

    zv::DesktopPlatform platform;
    zv::SetEventPump([&platform] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return !platform.Ending();
    });

    zv::StartGeometryReport();
    zv::MainWindow window(platform, QCoreApplication::arguments());
    running = &window;
    window.Start();
    if (!platform.Ending()) {
        window.show();
        // The modal login window stays in front of the main window shown behind it.
        if (zv::LoginWindow* login = window.loginWindow()) {
            login->raise();
            login->activateWindow();
        }
        app.exec();
    }
    running = nullptr;
    zv::SetEventPump(nullptr);
    return 0;
}
