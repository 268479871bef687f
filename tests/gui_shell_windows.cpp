// The drainage explanation window and the closing window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>
#include <QtMath>

#include "UClose.h"
#include "UDrainForm.h"
#include "UStaticPages.h"

using namespace halovane;

namespace {

// Every line of the memo fits its width, so none is folded.
void ExpectLinesUnfolded(const QPlainTextEdit* memo) {
    const QFontMetrics metrics(memo->font());
    const int room = memo->viewport()->width() - 2 * qCeil(memo->document()->documentMargin());
    for (const QString& line : memo->toPlainText().split(QLatin1Char('\n')))
        EXPECT_LE(metrics.horizontalAdvance(line), room) << memo->objectName().toStdString() << ": "
                                                          << line.toStdString();
}

}  // namespace

TEST(ShellWindows, DrainFormHiddenUntilAskedFor) {
    TDrainForm form;
    EXPECT_EQ(form.objectName().toStdString(), "DrainForm");
    EXPECT_EQ(form.windowTitle().toStdString(), "Explanation subsurface drainage");
    EXPECT_TRUE(form.isWindow());
    EXPECT_FALSE(form.isVisible());
    // The design size, unless the screen has less room (200 % on 1366 x 900).
    const QSize room = QApplication::primaryScreen()->availableGeometry().size() - QSize(16, 40);
    EXPECT_GE(form.width(), std::min(426, room.width()));
    EXPECT_GE(form.height(), std::min(418, room.height()));
    EXPECT_LE(form.height(), room.height());
    EXPECT_EQ(form.font().pixelSize(), 11);
    ASSERT_NE(form.DrainMemo, nullptr);
    EXPECT_EQ(form.findChild<QPlainTextEdit*>(QStringLiteral("DrainMemo")), form.DrainMemo);
    EXPECT_EQ(form.DrainMemo->toPlainText(), ShellText(QStringLiteral("drainage.txt")));
    EXPECT_FALSE(form.DrainMemo->isReadOnly());
}

TEST(ShellWindows, DrainFormShowsWithoutBlockingAndCloses) {
    TDrainForm form;
    form.ShowExplanation();
    QApplication::processEvents();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ExpectLinesUnfolded(form.DrainMemo);
    // Closing only hides it; it can be shown again.
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    form.ShowExplanation();
    EXPECT_TRUE(form.isVisible());
    form.hide();
}

TEST(ShellWindows, CloseFormCaptionAndFarewell) {
    TCloseForm form;
    EXPECT_EQ(form.objectName().toStdString(), "CloseForm");
    EXPECT_EQ(form.windowTitle().toStdString(), "Close all");
    EXPECT_TRUE(form.isWindow());
    EXPECT_FALSE(form.isVisible());
    EXPECT_GE(form.width(), 263);
    EXPECT_GE(form.height(), 153);
    ASSERT_NE(form.CloseMemo, nullptr);
    EXPECT_EQ(form.findChild<QPlainTextEdit*>(QStringLiteral("CloseMemo")), form.CloseMemo);
    EXPECT_EQ(form.CloseMemo->toPlainText(), ShellText(QStringLiteral("close.txt")));
    EXPECT_EQ(form.CloseMemo->palette().color(QPalette::Base), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_EQ(form.CloseMemo->font().pixelSize(), 13);
    EXPECT_FALSE(form.CloseMemo->isReadOnly());
    form.show();
    QApplication::processEvents();
    ExpectLinesUnfolded(form.CloseMemo);
    form.onClosed = [] {};
}

TEST(ShellWindows, ClosingTheCloseFormRunsItsHookOnce) {
    TCloseForm form;
    int calls = 0;
    form.onClosed = [&calls] { ++calls; };
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(form.isVisible());
}

TEST(ShellWindows, ClosingTheCloseFormEndsTheEventLoop) {
    TCloseForm form;  // with its own hook
    bool timedOut = false;
    QTimer::singleShot(0, &form, [&form] {
        form.show();
        form.close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    guard.start(5000);
    const int code = QCoreApplication::exec();
    EXPECT_FALSE(timedOut) << "the event loop kept running after the closing window closed";
    EXPECT_EQ(code, 0);
}
