// How a typed name and a chosen format decide the file a graph goes to, and
// the runner's names of the graphs.
#include <gtest/gtest.h>

#include "GraphFiles.h"

using namespace halovane;

TEST(GraphFiles, TheChosenFormatNamesABareFile) {
    // A bare name with "PNG files" chosen is a PNG file, not a bitmap.
    GraphFileChoice c = ChooseGraphFile("/data/graph", GraphFormat::Png);
    EXPECT_EQ(c.FileName, "/data/graph.png");
    EXPECT_EQ(c.Format, GraphFormat::Png);
    c = ChooseGraphFile("graph", GraphFormat::Svg);
    EXPECT_EQ(c.FileName, "graph.svg");
    EXPECT_EQ(c.Format, GraphFormat::Svg);
    // A dot in a folder name is no extension.
    c = ChooseGraphFile("/data/run.2/graph", GraphFormat::Pdf);
    EXPECT_EQ(c.FileName, "/data/run.2/graph.pdf");
    // Nor is a name that only begins with a dot, or an unknown extension.
    EXPECT_EQ(ChooseGraphFile("/data/.png", GraphFormat::Bmp).FileName, "/data/.png.bmp");
    c = ChooseGraphFile("C:\\data\\graph.v2", GraphFormat::Bmp);
    EXPECT_EQ(c.FileName, "C:\\data\\graph.v2.bmp");
    EXPECT_EQ(c.Format, GraphFormat::Bmp);
}

TEST(GraphFiles, AFormatInTheNameWins) {
    GraphFileChoice c = ChooseGraphFile("graph.PNG", GraphFormat::Bmp);
    EXPECT_EQ(c.FileName, "graph.PNG");
    EXPECT_EQ(c.Format, GraphFormat::Png);
    c = ChooseGraphFile("/data/graph.pdf", GraphFormat::Svg);
    EXPECT_EQ(c.FileName, "/data/graph.pdf");
    EXPECT_EQ(c.Format, GraphFormat::Pdf);
    EXPECT_EQ(ChooseGraphFile("graph.bmp", GraphFormat::Png).Format, GraphFormat::Bmp);
}

TEST(GraphFiles, TheRunnersKeysNameEveryChoiceOnce) {
    for (int k = 0; k < GraphChoiceCount; ++k) {
        const auto choice = static_cast<GraphChoice>(k);
        EXPECT_EQ(GraphChoiceFromKey(GraphChoiceKey(choice)), choice);
        EXPECT_EQ(GraphChoiceFromKey(std::to_string(k + 1)), choice);
        for (int j = 0; j < k; ++j)
            EXPECT_STRNE(GraphChoiceKey(choice), GraphChoiceKey(static_cast<GraphChoice>(j)));
    }
    EXPECT_EQ(GraphChoiceFromKey("Water-Table"), GraphChoice::WaterTable);
    EXPECT_FALSE(GraphChoiceFromKey("0"));
    EXPECT_FALSE(GraphChoiceFromKey("10"));
    EXPECT_FALSE(GraphChoiceFromKey("all"));
}

TEST(GraphFiles, LayerChoicesNeedTheirLayers) {
    EXPECT_FALSE(GraphChoiceApplies(GraphChoice::SalinitySecond, 1));
    EXPECT_FALSE(GraphChoiceApplies(GraphChoice::SalinityThird, 2));
    EXPECT_TRUE(GraphChoiceApplies(GraphChoice::SalinitySecond, 2));
    EXPECT_TRUE(GraphChoiceApplies(GraphChoice::SalinityThird, 3));
    EXPECT_TRUE(GraphChoiceApplies(GraphChoice::SalinityAll, 1));
    EXPECT_TRUE(GraphChoiceApplies(GraphChoice::SalinityFirst, 1));
    EXPECT_TRUE(GraphChoiceApplies(GraphChoice::WaterTable, 1));
}

TEST(GraphFiles, FiguresAreNamedAfterTheOutputFile) {
    EXPECT_EQ(GraphFigureFileName("/runs/field.out", "", GraphChoice::WaterTable, GraphFormat::Svg),
              "/runs/field-water-table.svg");
    EXPECT_EQ(GraphFigureFileName("field.out", "", GraphChoice::SalinityBelow, GraphFormat::Png),
              "field-salinity-below.png");
    EXPECT_EQ(GraphFigureFileName("/runs/field.out", "figures", GraphChoice::AllHydrology, GraphFormat::Pdf),
              "figures/field-hydrology.pdf");
    EXPECT_EQ(GraphFigureFileName("/runs/a.b/field", "/tmp/", GraphChoice::SalinityFirst, GraphFormat::Bmp),
              "/tmp/field-salinity-1.bmp");
}
