// The Output and Graphs pages in a page frame, as the main window holds
// them, with scripted dialogs and the files of the golden cases.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "GraphPainter.h"
#include "GraphView.h"
#include "ResultsPages.h"
#include "TestDialogs.h"

namespace halovane::test {

class ResultsPagesTest : public ::testing::Test {
protected:
    ResultsPagesTest() {
        frame.resize(765, 573);
        auto* input = new QWidget;
        input->setObjectName(QStringLiteral("InpTab"));
        outTab = new QWidget;
        outTab->setObjectName(QStringLiteral("OutTab"));
        graphTab = new QWidget;
        graphTab->setObjectName(QStringLiteral("GraphTab"));
        frame.addTab(input, QStringLiteral("Input"));
        frame.addTab(outTab, QStringLiteral("Output"));
        frame.addTab(graphTab, QStringLiteral("Graphs"));
        pages = std::make_unique<ResultsPages>(dialogs, frame, *outTab, *graphTab);
        frame.show();
    }

    // Copies a golden case into the temporary folder as <name>.out and
    // <name>.inp and returns the name of the output file.
    QString CopyCase(const QString& caseName, const QString& outputFile = QStringLiteral("plain.out")) {
        const QString from = QStringLiteral(HALOVANE_CASES "/") + caseName;
        const QString to = dir.filePath(caseName);
        QFile::remove(to + QStringLiteral(".out"));
        QFile::remove(to + QStringLiteral(".inp"));
        EXPECT_TRUE(QFile::copy(from + QLatin1Char('/') + outputFile, to + QStringLiteral(".out")));
        EXPECT_TRUE(QFile::copy(from + QStringLiteral("/input.inp"), to + QStringLiteral(".inp")));
        return to + QStringLiteral(".out");
    }

    // "Open output" with the file chosen in the dialog.
    void OpenOutput(const QString& fileName) {
        dialogs.openNames.push_back(fileName);
        Press(outTab, "OpenOutputButton");
    }

    template <typename T = QWidget>
    T* Out(const char* name) const {
        T* w = outTab->findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    template <typename T = QWidget>
    T* Graph(const char* name) const {
        T* w = graphTab->findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    // Shown on its page (whichever page is in front).
    static bool Shown(QWidget* page, const char* name) {
        QWidget* w = page->findChild<QWidget*>(QLatin1String(name));
        return w && w->isVisibleTo(page);
    }
    // A click as the user makes it: only on a shown, enabled button.
    static void Press(QWidget* page, const char* name) {
        auto* b = page->findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_TRUE(b) << name;
        ASSERT_TRUE(b->isVisibleTo(page)) << name << " is hidden";
        ASSERT_TRUE(b->isEnabled()) << name << " is disabled";
        b->click();
    }
    static bool Enabled(QWidget* page, const char* name) {
        auto* w = page->findChild<QWidget*>(QLatin1String(name));
        return w && w->isEnabled();
    }
    QImage Picture() const {
        return Graph<GraphView>("GraphImage")->Picture().convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir dir;
    TestDialogs dialogs;
    QTabWidget frame;
    QWidget* outTab = nullptr;
    QWidget* graphTab = nullptr;
    std::unique_ptr<ResultsPages> pages;
};

}  // namespace halovane::test
