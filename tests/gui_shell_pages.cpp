// The Intro, Math and Figure pages filled into pages of the main window's
// size: their memo boxes, pictures and arrangement.
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>

#include <QTabWidget>

#include "TestDialogs.h"
#include "UMainForm.h"
#include "UStaticPages.h"

using namespace halovane;

namespace {

class ShellPages : public ::testing::Test {
protected:
    // A page of the page frame at the design size of the main window.
    void Make(const char* name, void (*fill)(QWidget&), QSize size = QSize(765, 551)) {
        page.setObjectName(QString::fromLatin1(name));
        fill(page);
        page.resize(size);
        page.show();
        QApplication::processEvents();
    }
    template <class W>
    W* Find(const char* name) {
        W* w = page.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QRect InPage(const QWidget* w) const { return QRect(w->mapTo(&page, QPoint(0, 0)), w->size()); }
    // The widget is visible in full within the page.
    void ExpectInside(const QWidget* w) const {
        EXPECT_TRUE(page.rect().contains(InPage(w))) << w->objectName().toStdString();
    }

    QWidget page;
};

// The memo shows `text`, can be edited and does not keep what is typed.
void ExpectMemo(QPlainTextEdit* memo, const QString& text) {
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->toPlainText().toStdString(), text.toStdString());
    EXPECT_FALSE(memo->isReadOnly());
    memo->appendPlainText(QStringLiteral("typed"));
    EXPECT_NE(memo->toPlainText(), text);
}

bool MoneyGreenBase(const QPlainTextEdit* memo) {
    return memo->palette().color(QPalette::Base) == QColor(0xC0, 0xDC, 0xC0);
}

}  // namespace

TEST_F(ShellPages, IntroPicturesBesideTheText) {
    Make("IntroTab", FillIntroPage);
    auto* memo = Find<QPlainTextEdit>("IntroMemo");
    auto* picture = Find<QWidget>("IntroImage");
    ASSERT_TRUE(memo && picture);
    EXPECT_TRUE(MoneyGreenBase(memo));
    EXPECT_EQ(memo->font().pixelSize(), 13);
    EXPECT_EQ(picture->size(), QSize(109, 96));
    ExpectInside(memo);
    ExpectInside(picture);
    const QRect m = InPage(memo), p = InPage(picture);
    EXPECT_FALSE(m.intersects(p));
    EXPECT_LT(p.right(), m.left()) << "the picture stands left of the text";
    EXPECT_GT(p.top(), page.height() / 2) << "the picture stands low on the page";
    EXPECT_LE(p.bottom(), m.bottom());
    EXPECT_GE(m.width(), 457);
    EXPECT_GE(m.height(), 481);
    ExpectMemo(memo, ShellText(QStringLiteral("intro.txt")));
}

TEST_F(ShellPages, IntroLinesAreNotFolded) {
    Make("IntroTab", FillIntroPage);
    auto* memo = Find<QPlainTextEdit>("IntroMemo");
    ASSERT_NE(memo, nullptr);
    // The widest paragraph line of the introduction fits the memo's width.
    const QFontMetrics metrics(memo->font());
    int widest = 0;
    for (const QString& line : memo->toPlainText().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    EXPECT_LE(widest + 2 * memo->document()->documentMargin(), memo->viewport()->width());
}

TEST_F(ShellPages, MathTextScrollsVertically) {
    Make("MathTab", FillMathPage);
    auto* memo = Find<QPlainTextEdit>("MathMemo");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(MoneyGreenBase(memo));
    ExpectInside(memo);
    EXPECT_GE(memo->width(), 721);
    EXPECT_GE(memo->height(), 513);
    // The text is longer than the page: the scroll bar reaches the end.
    EXPECT_GT(memo->verticalScrollBar()->maximum(), 0);
    ExpectMemo(memo, ShellText(QStringLiteral("math.txt")));
}

TEST_F(ShellPages, FigureTitleAboveTheWholeSketch) {
    Make("FigTab", FillFigurePage);
    auto* title = Find<QPlainTextEdit>("FigMemo");
    auto* picture = Find<QWidget>("FigImage");
    auto* scroll = Find<QScrollArea>("FigScroll");
    ASSERT_TRUE(title && picture && scroll);
    EXPECT_EQ(title->font().pixelSize(), 16);
    EXPECT_EQ(title->blockCount(), 1);
    EXPECT_GE(title->height(), 25);
    const QFontMetrics metrics(title->font());
    EXPECT_GE(title->viewport()->height(), metrics.height()) << "the title line is cut";
    EXPECT_GE(title->viewport()->width(),
              metrics.horizontalAdvance(title->toPlainText()) + 2 * title->document()->documentMargin())
        << "the end of the title line is cut";
    EXPECT_EQ(picture->size(), QSize(668, 442));
    EXPECT_LT(InPage(title).bottom(), InPage(picture).top());
    // At the design size the sketch is shown whole, without scrolling.
    ExpectInside(title);
    ExpectInside(picture);
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);
    ExpectMemo(title, ShellText(QStringLiteral("figure-title.txt")));
}

TEST_F(ShellPages, FigureScrollsOnALowPage) {
    Make("FigTab", FillFigurePage, QSize(420, 300));
    auto* picture = Find<QWidget>("FigImage");
    auto* scroll = Find<QScrollArea>("FigScroll");
    ASSERT_TRUE(picture && scroll);
    // The page still fits into the main window's page frame, and lower pages.
    EXPECT_LE(page.minimumSizeHint().width(), 790);
    EXPECT_LE(page.minimumSizeHint().height(), 300);
    EXPECT_EQ(picture->size(), QSize(668, 442)) << "the sketch is not squeezed";
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
}

TEST_F(ShellPages, PicturesPaintAtTheScreensResolution) {
    Make("FigTab", FillFigurePage);
    auto* picture = Find<QWidget>("FigImage");
    ASSERT_NE(picture, nullptr);
    const QImage image = picture->grab().toImage();
    const qreal ratio = picture->devicePixelRatioF();
    EXPECT_EQ(image.size(), (QSizeF(668, 442) * ratio).toSize());
    int changes = 0;
    const int y = image.height() * 380 / 442;  // through the aquifer and its arrows
    for (int x = 1; x < image.width(); ++x) changes += image.pixel(x, y) != image.pixel(x - 1, y);
    EXPECT_GT(changes, 4) << "the sketch was not painted";
}

// The program start fills the static pages of the main window it built: the
// window itself leaves them empty, so that it needs nothing from the start.
TEST(ShellStart, FillsTheStaticPagesOfTheMainWindow) {
    test::TestDialogs dialogs;
    TMainForm form(dialogs);
    auto* frame = form.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    ASSERT_NE(frame, nullptr);
    for (const char* memo : {"IntroMemo", "MathMemo", "FigMemo"})
        EXPECT_EQ(form.findChild<QPlainTextEdit*>(QLatin1String(memo)), nullptr) << memo;
    FillStaticPages(*frame);
    const struct {
        const char* page;
        const char* memo;
        const char* text;
    } pages[] = {{"IntroTab", "IntroMemo", "intro.txt"}, {"MathTab", "MathMemo", "math.txt"},
                 {"FigTab", "FigMemo", "figure-title.txt"}};
    for (const auto& p : pages) {
        auto* page = form.findChild<QWidget*>(QLatin1String(p.page));
        ASSERT_NE(page, nullptr) << p.page;
        auto* memo = page->findChild<QPlainTextEdit*>(QLatin1String(p.memo));
        ASSERT_NE(memo, nullptr) << p.memo;
        EXPECT_EQ(memo->toPlainText(), ShellText(QLatin1String(p.text))) << p.memo;
    }
    EXPECT_NE(form.findChild<QWidget*>(QStringLiteral("IntroImage")), nullptr);
    EXPECT_NE(form.findChild<QWidget*>(QStringLiteral("FigImage")), nullptr);
}
