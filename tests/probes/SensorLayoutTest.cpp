// Layout readers: the compiled-in layouts, the text formats, units, errors and the 10-10 system.
#include "probes/CSensorLayout.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

using Type = CSensorLayout::Type;
using Unit = CSensorLayout::Unit;

std::map<Type, int> countTypes(const CSensorLayout& layout) {
    std::map<Type, int> counts;
    for (int i = 0; i < layout.getChannelCount(); ++i)
        ++counts[layout.getChannel(i)->type];
    return counts;
}

double norm(const double* v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

struct EmbeddedCase {
    const char* name;
    int mags, grads, eeg;
};

class EmbeddedLayout : public testing::TestWithParam<EmbeddedCase> {};

TEST_P(EmbeddedLayout, LoadsWithSensorsOnAHead) {
    const EmbeddedCase c = GetParam();
    CSensorLayout layout;
    ASSERT_EQ(layout.loadEmbedded(c.name), 1) << layout.getError();
    auto counts = countTypes(layout);
    EXPECT_EQ(counts[Type::Magnetometer], c.mags);
    EXPECT_EQ(counts[Type::PlanarGradiometer], c.grads);
    EXPECT_EQ(counts[Type::Electrode], c.eeg);
    for (int i = 0; i < layout.getChannelCount(); ++i) {
        const auto* ch = layout.getChannel(i);
        EXPECT_GT(norm(ch->pos), 0.03) << ch->label;
        EXPECT_LT(norm(ch->pos), 0.2) << ch->label;
        if (!CSensorLayout::isMegType(ch->type)) {
            EXPECT_NE(layout.makeElectrode(i), nullptr);
            EXPECT_EQ(layout.makeMegSensor(i), nullptr);
            continue;
        }
        EXPECT_NEAR(norm(ch->normal), 1.0, 1e-9);
        auto sensor = layout.makeMegSensor(i);
        ASSERT_NE(sensor, nullptr);
        ASSERT_EQ(sensor->getCoilCount(), 1);
        double p[3];
        sensor->getCoil(0)->getCoilPositionD(p);
        EXPECT_EQ(p[0], ch->pos[0]);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, EmbeddedLayout,
                         testing::Values(EmbeddedCase{"meg306-neuromag", 102, 204, 0},
                                         EmbeddedCase{"ctf274", 274, 0, 0},
                                         EmbeddedCase{"eeg64-biosemi", 0, 0, 64}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 ch = ch == '-' ? '_' : ch;
                             return name;
                         });

TEST(SensorLayout, NeuromagTripletsShareOnePosition) {
    CSensorLayout layout;
    ASSERT_EQ(layout.loadEmbedded("meg306-neuromag"), 1);
    std::set<std::array<double, 3>> places;
    for (int i = 0; i < layout.getChannelCount(); ++i) {
        const auto* p = layout.getChannel(i)->pos;
        places.insert({p[0], p[1], p[2]});
    }
    EXPECT_EQ(places.size(), 102u);
    EXPECT_EQ(CSensorLayout::getEmbeddedNames().size(), 3u);
    EXPECT_EQ(layout.loadEmbedded("nonexistent"), 0);
    EXPECT_EQ(layout.getChannelCount(), 0);
}

struct TextCase {
    const char* what;
    const char* text;
    Unit unit;
    int count;
    Unit used;
    double firstX; // metres
};

class LayoutText : public testing::TestWithParam<TextCase> {};

TEST_P(LayoutText, ReadsChannelsInMetres) {
    const TextCase c = GetParam();
    CSensorLayout layout;
    ASSERT_EQ(layout.readText(c.text, c.unit), 1) << layout.getError();
    EXPECT_EQ(layout.getChannelCount(), c.count);
    EXPECT_EQ(layout.getUnit(), c.used);
    EXPECT_NEAR(layout.getChannel(0)->pos[0], c.firstX, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LayoutText,
    testing::Values(TextCase{"elc",
                             "# ASA\nUnitPosition\tmm\nNumberPositions=\t3\nPositions\n"
                             "-80 10 20\n80 10 20\n0 0 100\nLabels\nT7\nT8\nCz\n",
                             Unit::Auto, 3, Unit::Millimetre, -0.08},
                    TextCase{"elc-inline", "Positions\nLPA: -8 0 0\nC3 : -5.0 0 6\nC4: 5 0 6\n",
                             Unit::Auto, 2, Unit::Centimetre, -0.05},
                    TextCase{"sfp-cm", "FidNz 0 9 0\nE1\t-7.5\t2.1\t3.0\r\nE2 7.5 2.1 3.0\r\n",
                             Unit::Auto, 2, Unit::Centimetre, -0.075},
                    TextCase{"plain-m", "// cap\nFz 0 0.07 0.06\nCz 0 0 0.09\n", Unit::Auto, 2,
                             Unit::Metre, 0.0},
                    TextCase{"stated", "A 1 0 0\n", Unit::Millimetre, 1, Unit::Millimetre, 0.001},
                    TextCase{
                        "typed",
                        "M1 grad 0.1 0 0 1 0 0\nM2 grad 0.1 0 0 1 0 0\nA axial -0.1 0 0 -1 0 0\n"
                        "E eeg 0 0.09 0 # trailing comment\n",
                        Unit::Auto, 4, Unit::Metre, 0.1}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            ch = ch == '-' ? '_' : ch;
        return name;
    });

struct BadCase {
    const char* text;
    const char* message;
};

class LayoutErrors : public testing::TestWithParam<BadCase> {};

TEST_P(LayoutErrors, NamesTheProblem) {
    CSensorLayout layout;
    ASSERT_EQ(layout.readText("Cz 0 0 0.09\n"), 1);
    EXPECT_EQ(layout.readText(GetParam().text), 0);
    EXPECT_NE(layout.getError().find(GetParam().message), std::string::npos) << layout.getError();
    EXPECT_EQ(layout.getChannelCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Garbled, LayoutErrors,
    testing::Values(BadCase{"A 0 0 1\nB 0 x 1\n", "line 2: 'x' is not a finite number"},
                    BadCase{"A 0 0 1\n\nB 0 1\n", "line 3: expected"},
                    BadCase{"A squid 0 0 1\n", "line 1: unknown sensor type 'squid'"},
                    BadCase{"A 0 0 nan\n", "line 1"}, BadCase{"A 0 0 1e999\n", "line 1"},
                    BadCase{"A 0 0 1\nA 1 0 0\n", "line 2: duplicate label 'A'"},
                    BadCase{"M mag 0 0 0.1 0 0 0\n", "line 1: the coil normal is zero"},
                    BadCase{"Positions\n1 2 3\nLabels\nA\nB\n", "1 entries but 2 labels"},
                    BadCase{"UnitPosition inch\nPositions\n1 2 3\nLabels\nA\n", "UnitPosition"},
                    BadCase{"# nothing\n", "no channels"}, BadCase{"", "no channels"}),
    [](const auto& info) {
        std::string name;
        for (const auto* p = info.param.text; *p; ++p) {
            const char ch = static_cast<unsigned>(*p) < 128 ? static_cast<char>(*p) : ' ';
            if (std::isalnum(static_cast<unsigned char>(ch)))
                name += ch;
            else if (!name.empty() && name.back() != '_')
                name += '_';
        }
        while (!name.empty() && name.back() == '_')
            name.pop_back();
        return name.empty() ? std::string("Empty") : name;
    });

TEST(SensorLayout, MissingFileIsNamed) {
    CSensorLayout layout;
    EXPECT_EQ(layout.readFile("/nonexistent/cap.elc"), 0);
    EXPECT_NE(layout.getError().find("/nonexistent/cap.elc"), std::string::npos);
    EXPECT_EQ(layout.readFile(VELMORA_SOURCE_DIR "/data/layouts/eeg64-biosemi.txt"), 1);
    EXPECT_EQ(layout.getChannelCount(), 64);
}

TEST(SensorLayout, TenTenSystemLiesOnTheSphereInItsRows) {
    CSensorLayout layout;
    EXPECT_EQ(layout.makeEeg1010(0.0), 0);
    ASSERT_EQ(layout.makeEeg1010(0.1), 1);
    EXPECT_EQ(layout.getChannelCount(), 87);
    std::map<std::string, const double*> at;
    for (int i = 0; i < layout.getChannelCount(); ++i) {
        const auto* ch = layout.getChannel(i);
        EXPECT_NEAR(norm(ch->pos), 0.1, 1e-12) << ch->label;
        EXPECT_TRUE(at.emplace(ch->label, ch->pos).second) << ch->label;
        const char last = ch->label.back();
        if (last == 'z')
            EXPECT_NEAR(ch->pos[0], 0.0, 1e-12) << ch->label;
        else if ((last - '0') % 2 == 1)
            EXPECT_LT(ch->pos[0], 0.0) << ch->label;
        else
            EXPECT_GT(ch->pos[0], 0.0) << ch->label;
    }
    EXPECT_NEAR(at["Cz"][2], 0.1, 1e-12);
    EXPECT_GT(at["Fz"][1], 0.0);
    EXPECT_LT(at["Pz"][1], 0.0);
    EXPECT_NEAR(at["T7"][0], -0.1 * std::cos(M_PI / 10), 1e-12);
    // C3 lies halfway along the arc from T7 to Cz.
    auto angle = [&](const char* a, const char* b) {
        const double* p = at[a];
        const double* q = at[b];
        return std::acos((p[0] * q[0] + p[1] * q[1] + p[2] * q[2]) / 0.01);
    };
    EXPECT_NEAR(angle("T7", "C3"), angle("C3", "Cz"), 1e-9);
    EXPECT_NEAR(angle("F7", "F5"), angle("F1", "Fz"), 1e-9);
}

} // namespace
