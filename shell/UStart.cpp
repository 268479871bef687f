// Program start: the main window, then the closing window and the drainage
// explanation window, and the event loop. The program reads no arguments,
// environment or settings.
#include <QApplication>

#include "Dialogs.h"
#include "UClose.h"
#include "UDrainForm.h"
#include "UMainForm.h"
#include "UStaticPages.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Halovane");
    QApplication::setApplicationDisplayName("Halovane");
    QApplication::setApplicationVersion(HALOVANE_VERSION);
    QApplication::setWindowIcon(halovane::ApplicationIcon());

    halovane::QtDialogs dialogs;
    halovane::TMainForm mainForm(dialogs);
    halovane::TCloseForm closeForm;
    halovane::TDrainForm drainForm;
    mainForm.SetCompanionWindows(&closeForm, &drainForm);
    mainForm.show();
    return app.exec();
}
