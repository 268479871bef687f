// Where the windows open: inside the screen whatever its size and scale, and
// the small windows over the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "UClose.h"
#include "UDrainForm.h"
#include "WindowPlacement.h"

using namespace halovane;

TEST(ShellPlacement, FitInsideKeepsWhatFitsAndPullsInTheRest) {
    const QRect screen(0, 0, 1280, 800);
    const QMargins frame(8, 32, 8, 8);
    // Fits: unchanged.
    EXPECT_EQ(FitInside(QRect(187, 39, 806, 647), screen, frame), QRect(187, 39, 806, 647));
    // The drainage window at its design place runs off a 1280-pixel screen.
    const QRect drain = FitInside(QRect(811, 94, 460, 418), screen, frame);
    EXPECT_EQ(drain.size(), QSize(460, 418));
    EXPECT_LE(drain.right(), 1280 - 8);
    // The main window at 200 % on 1366 x 900: 683 x 450 logical pixels.
    const QRect main = FitInside(QRect(187, 39, 806, 647), QRect(0, 0, 683, 450), frame);
    EXPECT_EQ(main, QRect(8, 32, 667, 410));
    // A screen to the right of another.
    EXPECT_EQ(FitInside(QRect(0, 0, 300, 200), QRect(1366, 0, 800, 600), frame).topLeft(), QPoint(1374, 32));
}

TEST(ShellPlacement, SmallWindowsOpenOverTheMainWindow) {
    QWidget mainWindow;
    mainWindow.setObjectName(QStringLiteral("MainForm"));
    const QRect available = QApplication::primaryScreen()->availableGeometry();
    PlaceOnScreen(mainWindow, QRect(187, 39, 806, 647));
    mainWindow.show();
    QApplication::processEvents();
    EXPECT_TRUE(available.contains(mainWindow.geometry())) << available.width() << "x" << available.height();

    TDrainForm drain;
    drain.ShowExplanation();
    QApplication::processEvents();
    EXPECT_TRUE(available.contains(drain.geometry()));
    EXPECT_TRUE(drain.geometry().intersects(mainWindow.geometry()));
    // Centred over it where the screen allows.
    if (drain.width() < mainWindow.width() && drain.height() < mainWindow.height()) {
        EXPECT_LE((drain.geometry().center() - mainWindow.frameGeometry().center()).manhattanLength(), 4);
    }
    drain.hide();

    TCloseForm close;
    close.onClosed = [] {};
    close.show();
    QApplication::processEvents();
    EXPECT_TRUE(available.contains(close.geometry()));
    EXPECT_TRUE(mainWindow.geometry().contains(close.geometry().center()));
    close.hide();
}
