// Every text of the Input panels, the Output and Graphs pages and the small
// windows is shown whole, with one-, two- and three-layer examples, in each
// table and with each graph. Run at screen scales 1 and 2 on a screen of
// 1366 x 900 pixels (tests/gui_results.cmake).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "RunDriver.h"
#include "TestDialogs.h"
#include "TextFit.h"
#include "UClose.h"
#include "UDrainForm.h"
#include "UMainForm.h"
#include "WindowPlacement.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// Yes to every question but the drainage refinement: the run optimises
// where the measurements allow it.
class RunDialogs : public TestDialogs {
public:
    QString file;
    bool Confirm(QWidget*, const QString& text) override { return text != QLatin1String(RefinementQuestion); }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return file; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        return file;
    }
};

const char* const Choices[] = {
    "GraphHydrRadioButton", "SurfHydrRadioButton", "SubSurfHydrRadioButton",
    "GraphWTRadioButton",   "GraphSaltRadioButton", "SalFirstRadioButton",
    "SalSecondRadioButton", "SalThirdRadioButton",  "SalBelowRadioButton",
};

class TextFitTest : public ::testing::TestWithParam<const char*> {
protected:
    void Expect(QWidget& widget, const QString& state) {
        const QStringList faults = fit_.Check(widget);
        EXPECT_TRUE(faults.isEmpty()) << state.toStdString() << ":\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
    }
    TextFit fit_;
};

template <typename T = QPushButton>
T* Find(QWidget& in, const char* name) {
    T* w = in.findChild<T*>(QLatin1String(name));
    EXPECT_TRUE(w) << name;
    return w;
}

}  // namespace

TEST_P(TextFitTest, EveryPanelTableAndGraphOfARun) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QFileInfo(QString::fromLatin1(GetParam())).fileName());
    ASSERT_TRUE(QFile::copy(QStringLiteral(HALOVANE_EXAMPLES "/") + QString::fromLatin1(GetParam()), name));
    RunDialogs dialogs;
    dialogs.file = name;
    TMainForm form(dialogs);
    // The window's controls by their names.
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    QWidget& inpTab = *Find<QWidget>(form, "InpTab");
    QWidget& outTab = *Find<QWidget>(form, "OutTab");
    QWidget& graphTab = *Find<QWidget>(form, "GraphTab");
    ScrollFixedPages(*pages);
    PlaceOnScreen(form, QRect(187, 39, 806, 647));
    form.show();
    QApplication::processEvents();
    // The window fits the screen it opens on.
    const QRect available = form.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(form.geometry())) << form.width() << "x" << form.height();

    pages->setCurrentWidget(&outTab);
    Expect(outTab, QStringLiteral("Output page before a run"));
    pages->setCurrentWidget(&inpTab);
    Find(form, "OpenInpButton")->click();
    // Every panel of the Input page with the data set of the example.
    for (const char* openName : {"GenOpenButton", "HydrOpenButton", "SoilOpenButton", "SaltOpenButton",
                                 "DrainOpenButton", "CondOpenButton"}) {
        QPushButton* open = Find(form, openName);
        ASSERT_TRUE(open->isEnabled()) << open->objectName().toStdString();
        open->click();
        Expect(inpTab, QStringLiteral("Input page: ") + open->objectName());
        for (QPushButton* quit : form.findChildren<QPushButton*>())
            if (quit->objectName().endsWith(QLatin1String("QuitButton")) && quit->isVisible() && quit->isEnabled())
                quit->click();
    }
    pages->setCurrentWidget(&inpTab);
    Find(form, "SaveAllButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Find<QPushButton>(form, "RunCancelButton")->isHidden(); }, 60000));
    ASSERT_EQ(pages->currentWidget(), &outTab) << dialogs.messages.join(QLatin1Char('|')).toStdString();
    Expect(outTab, QStringLiteral("listing"));
    Find(outTab, "HydrShowButton")->click();
    Expect(outTab, QStringLiteral("hydrological table"));
    Find(outTab, "SaltShowButton")->click();
    Expect(outTab, QStringLiteral("salinity table"));

    Find(outTab, "GraphButton")->click();
    Expect(graphTab, QStringLiteral("choice of graphs"));
    for (const char* choice : Choices) {
        auto* button = Find<QRadioButton>(graphTab, choice);
        if (!button->isEnabled()) continue;
        if (Find(graphTab, "GraphSelectButton")->isEnabled()) Find(graphTab, "GraphSelectButton")->click();
        button->click();
        Find(graphTab, "GraphGoButton")->click();
        Expect(graphTab, QString::fromLatin1(choice));
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, TextFitTest,
                         ::testing::Values("one-layer-monthly.inp", "two-layer-drained.inp", "three-layer-seepage.inp"),
                         [](const auto& param) {
                             QString n = QString::fromLatin1(param.param).section(QLatin1Char('.'), 0, 0);
                             return n.remove(QLatin1Char('-')).toStdString();
                         });

TEST(TextFitWindows, DrainageAndClosingWindows) {
    TextFit fit;
    TDrainForm drain;
    drain.ShowExplanation();
    EXPECT_TRUE(fit.Check(drain).isEmpty()) << fit.Check(drain).join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(drain.screen()->availableGeometry().contains(drain.geometry()));
    drain.hide();
    TCloseForm close;
    close.onClosed = [] {};
    close.show();
    EXPECT_TRUE(fit.Check(close).isEmpty()) << fit.Check(close).join(QLatin1Char('\n')).toStdString();
    close.hide();
}

TEST(TextFitCheck, FindsTextThatDoesNotFit) {
    // The check itself: a label narrower than its text, a button cut off
    // by its parent.
    QWidget window;
    window.resize(200, 100);
    auto* label = new QLabel(QStringLiteral("A caption much longer than its label"), &window);
    label->setGeometry(0, 0, 40, 20);
    auto* button = new QPushButton(QStringLiteral("Go"), &window);
    button->setGeometry(180, 10, 60, 25);
    window.show();
    TextFit fit;
    const QStringList faults = fit.Check(window);
    ASSERT_EQ(faults.size(), 2) << faults.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(faults[0].contains(QStringLiteral("A caption much longer")));
    EXPECT_TRUE(faults[1].contains(QStringLiteral("sticks out")));
}
