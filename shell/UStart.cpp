// Program start: the main window, then the closing window and the drainage
// explanation window, and the event loop. The program reads no arguments,
// environment or settings.
#include <QApplication>
#include <QTabWidget>

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
    return app.exec();
}
