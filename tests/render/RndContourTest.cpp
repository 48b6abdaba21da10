// Contour-map colours: window, peak, absolute and polarity reductions, empty windows and the
// missing-data message.
#include "GridDataSet.h"
#include "engine/CMMaterialzq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "render/CRndMessage.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<std::u16string> g_messages;
void recordMessage(const std::u16string& text) {
    g_messages.push_back(text);
}

class Contour : public ::testing::Test {
protected:
    void SetUp() override {
        g_messages.clear();
        CRndMessage::setHook(&recordMessage);
        data.buildUniform(2, 2, 0.0);
        r.setDrawMEGData(&data.data);
    }
    void TearDown() override { CRndMessage::setHook(nullptr); }

    // The values become a one-row spectrum; the window covers them all unless given.
    int query(const std::vector<double>& values, long long t0 = 0, long long t1 = 0) {
        chnl.resize(1, static_cast<long long>(values.size()));
        std::copy(values.begin(), values.end(), chnl.getSpctmDataPtr(0, nullptr, nullptr));
        return r.standardMode
                   ? r.drawSpctmContourmapStd(t0, 0, t1, 1000, &chnl, 0, 0, &material, colour)
                   : r.drawSpctmContourmapPro(t0, 0, t1, 1000, &chnl, 0, 0, &material, colour);
    }
    void expectColour(const std::uint32_t* palette, int entry) {
        float expected[4];
        CADRindex2Colorzq::color2Float4(palette[entry], expected);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(colour[k], expected[k]) << "entry " << entry;
            EXPECT_EQ(material.m_color[k], expected[k]) << "entry " << entry;
        }
    }

    GridDataSet data;
    CMEGSpctm3DRndzq r;
    CSpctmChnlzq chnl;
    CMMaterialzq material;
    float colour[4] = {-1, -1, -1, -1};
};

} // namespace

TEST_F(Contour, StandardColoursOfTheWindowMean) {
    const std::uint32_t* cont = r.getContinuousPalette(1024);
    const std::uint32_t* neg = r.getNegativePalette(3);
    const std::uint32_t* pos = r.getPositivePalette(3);
    r.polarity = 0;
    EXPECT_EQ(query({0.25, -0.75}), 1);
    expectColour(cont, 512);
    EXPECT_EQ(query({3.0, 9.0}), 1);
    expectColour(cont, 1023);
    r.polarity = 1;
    EXPECT_EQ(query({-0.25, -0.75}), 1);
    expectColour(neg, 384);
    EXPECT_EQ(query({0.25, 0.75}), 1);
    expectColour(pos, 384);
    EXPECT_EQ(query({0.8, -0.8, -0.8, 0.8}), 1);
    expectColour(neg, 0);
    r.stdUpper = r.stdLower = 0.3;
    EXPECT_EQ(query({0.4}), 1);
    expectColour(pos, 767);
}

TEST_F(Contour, ProfessionalWindowAndPeakColours) {
    r.standardMode = 0;
    const std::uint32_t* cont = r.getContinuousPalette(1024);
    r.proDisplayMode = 1;
    EXPECT_EQ(query({-1.0, 1.0, 5.0}), 1);
    expectColour(cont, 511);
    r.proDisplayMode = 0;
    EXPECT_EQ(query({-1.0, 1.0}), 1); // indices 0 and 1023
    expectColour(cont, 511);
    EXPECT_EQ(query({0.0}), 1);
    expectColour(cont, 512);

    const std::uint32_t* neg = r.getNegativePalette(3);
    const std::uint32_t* pos = r.getPositivePalette(3);
    r.proDisplayMode = 2;
    EXPECT_EQ(query({-1.5, 0.0}), 1);
    expectColour(neg, 192);
    EXPECT_EQ(query({1.5, 0.0, 0.2}), 1);
    expectColour(pos, 384);
    EXPECT_EQ(query({1.0 + 1e-4, 0.0}), 1); // upper index 0 ties with the lower mean
    expectColour(neg, 0);
    r.proUpperLimit = r.proUpper;
    EXPECT_EQ(query({1e300}), 1);
    expectColour(pos, 767);
}

TEST_F(Contour, WindowsOutsideTheGrid) {
    const std::uint32_t* cont = r.getContinuousPalette(1024);
    const std::uint32_t* neg = r.getNegativePalette(3);
    r.standardMode = 0;
    r.proDisplayMode = 0;
    EXPECT_EQ(query({0.5}, 5, 9), 0);
    EXPECT_EQ(colour[0], 0.0f);
    EXPECT_EQ(colour[3], 1.0f);
    r.proDisplayMode = 2;
    EXPECT_EQ(query({0.5}, 5, 9), 1);
    expectColour(neg, 0);
    r.standardMode = 1;
    r.polarity = 0;
    EXPECT_EQ(query({0.5}, 1, 0), 1);
    expectColour(cont, 0);
    r.polarity = 1;
    EXPECT_EQ(query({0.5}, -9, -1), 1);
    expectColour(neg, 0);
}

TEST_F(Contour, MissingDataTellsTheUserOncePerCall) {
    EXPECT_EQ(r.drawSpctmContourmapStd(0, 0, 1, 1, nullptr, 0, 0, nullptr, colour), 0);
    EXPECT_TRUE(g_messages.empty());

    CMEGSpctm3DRndzq unbound;
    EXPECT_EQ(unbound.drawSpctmContourmapStd(0, 0, 1, 1, &chnl, 0, 0, nullptr, colour), 0);
    EXPECT_EQ(unbound.drawSpctmContourmapPro(0, 0, 1, 1, &chnl, 0, 0, nullptr, colour), 0);
    EXPECT_EQ(unbound.showSpctmContourMap(0, 0, 1, 1, &chnl, 0, 0, nullptr, colour), 0);
    ASSERT_EQ(g_messages.size(), 3u);
    EXPECT_EQ(g_messages[0], u"No MEG data? \n");
    EXPECT_EQ(colour[0], -1.0f);
    EXPECT_EQ(r.showSpctmContourMap(0, 0, 0, 0, &chnl, 0, 0, nullptr, nullptr), 0);
}
