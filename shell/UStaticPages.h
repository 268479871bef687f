// The static pages of the main window (Intro, Math, Figure) and the helpers
// that the shell windows share: the texts and pictures kept in the program's
// resources, the memo boxes and the window font.
#pragma once

#include <QFont>
#include <QIcon>
#include <QSize>
#include <QString>

class QPlainTextEdit;
class QTabWidget;
class QWidget;

namespace halovane {

// Resource path of one of the program's text or picture files, e.g.
// ShellResource("figure.svg") == ":/figure.svg". Makes sure the resources
// are registered first.
QString ShellResource(const QString& name);

// One of the static texts ("intro.txt", "math.txt", "figure-title.txt",
// "close.txt", "drainage.txt") as the memo box shows it: the lines of the
// file joined by '\n', without the end of the last line. Empty when the
// resource does not exist.
QString ShellText(const QString& name);

// The program icon, drawn from the icon picture at the usual icon sizes.
QIcon ApplicationIcon();

// Sans-serif font of the given height in pixels (11 for the windows, 13 for
// the Intro and closing memos, 16 for the Figure title line).
QFont ShellFont(int pixelSize);

// The background of the Intro and closing memos.
inline constexpr unsigned MoneyGreen = 0xC0DCC0;

// A word-wrapping, editable memo box holding `text`, with the given object
// name. A font size of 0 keeps the parent's font.
QPlainTextEdit* NewMemo(QWidget* parent, const QString& objectName, const QString& text, int fontPixels = 0,
                        bool moneyGreen = false);

// Size a memo box needs to show all its lines without wrapping them.
QSize MemoFitSize(const QPlainTextEdit& memo);

// Fill an empty page (one without a layout) of the page frame.
// Intro: the plant picture ("IntroImage", 109 x 96) and the introduction
// text on money-green ("IntroMemo").
void FillIntroPage(QWidget& page);
// Math: the text of the water and salt balances ("MathMemo").
void FillMathPage(QWidget& page);
// Figure: the title line ("FigMemo") above the sketch of water movement
// ("FigImage", 668 x 442).
void FillFigurePage(QWidget& page);

// Fills the three static pages of the main window's page frame: its
// "IntroTab", "MathTab" and "FigTab". The program start calls it once, after
// building the main window and before the pages go into scroll areas.
void FillStaticPages(QTabWidget& frame);

}  // namespace halovane
