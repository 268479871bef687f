// Program start: the main window, then the closing window and the drainage
// explanation window, and the event loop. The program reads no arguments,
// environment or settings.
#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "Dialogs.h"
#include "HalovaneVersion.h"
#include "UClose.h"
#include "UDrainForm.h"
#include "UMainForm.h"
#include "UStaticPages.h"
#include "WindowPlacement.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Halovane");
    QApplication::setApplicationDisplayName("Halovane");
    // The version record: the product's version and the file version.
    QApplication::setApplicationVersion(HALOVANE_PRODUCT_VERSION);
    QApplication::setWindowIcon(halovane::ApplicationIcon());

    halovane::QtDialogs dialogs;
    halovane::TMainForm mainForm(dialogs);
    halovane::TCloseForm closeForm;
    halovane::TDrainForm drainForm;
    mainForm.SetCompanionWindows(&closeForm, &drainForm);
    mainForm.ShowVersion(QString("Soil salinity simulation, version %1 (file %2)")
                             .arg(HALOVANE_PRODUCT_VERSION, HALOVANE_FILE_VERSION));
    // The design size where the screen has room for it, smaller on a small
    // or highly scaled screen, where the fixed pages scroll.
    auto& frame = *mainForm.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    halovane::FillStaticPages(frame);
    halovane::ScrollFixedPages(frame);
    halovane::PlaceOnScreen(mainForm, QRect(187, 39, 806, 647));
    mainForm.show();
    if (qEnvironmentVariableIsSet("HALOVANE_CLOSE_TEST")) {
        // The closing sequence as the user runs it, for the test of the
        // program's end: close the main window, then the closing window it
        // shows. The process must then end by itself.
        QTimer::singleShot(300, &mainForm, [&mainForm, &closeForm] {
            mainForm.close();
            std::fprintf(stderr, "main window %s, closing window %s\n", mainForm.isVisible() ? "open" : "closed",
                         closeForm.isVisible() ? "shown" : "hidden");
            QTimer::singleShot(300, &closeForm, [&closeForm] { closeForm.close(); });
        });
    }
    return app.exec();
}
