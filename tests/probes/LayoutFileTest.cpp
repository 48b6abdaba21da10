// Layout files from a hostile host: paths that are no regular file, sizes, the channel limit met
// while reading, byte-order marks and line ends, implausible geometry and label encodings. Every
// refused file leaves the layout that was loaded before.
#include "probes/CSensorLayout.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Type = CSensorLayout::Type;
using Unit = CSensorLayout::Unit;

CSensorLayout embedded(const char* name) {
    CSensorLayout layout;
    EXPECT_EQ(layout.loadEmbedded(name), 1);
    return layout;
}

std::string text(const char* file) {
    std::ifstream in(std::string(VELMORA_SOURCE_DIR "/data/layouts/") + file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string triple(const double* v, double scale) {
    char line[96];
    std::snprintf(line, sizeof line, " %.9g %.9g %.9g", v[0] * scale, v[1] * scale, v[2] * scale);
    return line;
}

// `s` with its line ends replaced by `end`.
std::string withLineEnds(const std::string& s, const char* end) {
    std::string out;
    for (char ch : s)
        out += ch == '\n' ? std::string(end) : std::string(1, ch);
    return out;
}

// `label x y z` lines, positions times `scale`; `edit` may change a line by its index.
std::string plainLines(const CSensorLayout& layout, double scale,
                       const std::function<void(int, std::string&)>& edit = {}) {
    std::string out;
    for (int i = 0; i < layout.getChannelCount(); ++i) {
        std::string line = layout.getChannel(i)->label + triple(layout.getChannel(i)->pos, scale);
        if (edit)
            edit(i, line);
        out += line + "\n";
    }
    return out;
}

std::string elcText(const CSensorLayout& layout, const char* unit, double scale,
                    const std::string& firstLabel) {
    std::string out = "# ASA electrode file\nReferenceLabel\tavg\nUnitPosition\t" +
                      std::string(unit) + "\nNumberPositions=\t" +
                      std::to_string(layout.getChannelCount()) + "\nPositions\n";
    for (int i = 0; i < layout.getChannelCount(); ++i)
        out += triple(layout.getChannel(i)->pos, scale).substr(1) + "\n";
    out += "Labels\n" + firstLabel + "\n";
    for (int i = 1; i < layout.getChannelCount(); ++i)
        out += layout.getChannel(i)->label + "\n";
    return out;
}

class TempLayoutDir : public testing::Test {
protected:
    void SetUp() override {
        std::string dir = (fs::temp_directory_path() / "velmora-layouts-XXXXXX").string();
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        m_dir = dir;
        ASSERT_EQ(m_layout.loadEmbedded("eeg64-biosemi"), 1);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string write(const std::string& name, const std::string& contents) {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    // readFile(path, unit) refused with every piece in the error; BioSemi's 64 electrodes remain.
    void expectRefused(const std::string& path, const std::vector<std::string>& pieces,
                       Unit unit = Unit::Auto) {
        EXPECT_EQ(m_layout.readFile(path, unit), 0) << path;
        for (const std::string& piece : pieces)
            EXPECT_NE(m_layout.getError().find(piece), std::string::npos) << m_layout.getError();
        ASSERT_EQ(m_layout.getChannelCount(), 64);
        EXPECT_EQ(m_layout.getChannel(63)->label, "O2");
        EXPECT_EQ(m_layout.getUnit(), Unit::Metre);
    }

    fs::path m_dir;
    CSensorLayout m_layout;
};

TEST_F(TempLayoutDir, OnlyRegularFilesUpTo64MiBAreRead) {
    const std::string fifo = (m_dir / "pipe.elc").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectRefused(fifo, {"layout file '" + fifo + "' is a FIFO, not a regular file"});
    expectRefused(m_dir.string(), {"layout file '" + m_dir.string() + "' is a directory"});
    expectRefused("/dev/null", {"layout file '/dev/null' is a device, not a regular file"});
    const std::string missing = (m_dir / "missing.elc").string();
    expectRefused(missing, {"cannot open layout file '" + missing + "': No such file"});

    // Sparse files of zeros: 64 MiB is read (and refused for its first byte), a byte more is not.
    const std::string big = write("big.txt", "");
    fs::resize_file(big, 64u << 20);
    expectRefused(big, {big + ": line 1: control character 0x00 in column 1"});
    fs::resize_file(big, (64u << 20) + 1);
    expectRefused(big, {"layout file '" + big + "' is larger than 64 MiB (67108865 bytes)"});
}

TEST_F(TempLayoutDir, ChannelLimitStopsTheReadAtItsLine) {
    std::string channels;
    for (int i = 1; i <= 100001; ++i)
        channels += "E" + std::to_string(i) + " 0 0.09 0\n";
    // 63 MiB of short lines; a reader that looked past the limit would take the file for an
    // .elc or stop at the Latin-1 byte of its last line instead.
    std::string contents = channels;
    std::string shortLines;
    for (int i = 0; i < (1 << 19); ++i)
        shortLines += "1\n";
    while (contents.size() < (63u << 20))
        contents += shortLines;
    contents += "Positions\nM\xE9 0 0 0.09\n";
    const std::string path = write("long.txt", contents);
    expectRefused(path, {path + ": line 100001: more than 100000 channels"});

    const std::string elc = write("long.elc", "Positions\n" + channels + "Labels\n");
    expectRefused(elc, {elc + ": line 100002: more than 100000 positions"});
}

struct LineEndCase {
    std::string name;
    const char* file;
    std::function<std::string(const std::string&)> format; // from the file's text
    const char* lineEnd;
    bool bom;
};

void PrintTo(const LineEndCase& c, std::ostream* os) {
    *os << c.name;
}

class LayoutLineEnds : public TempLayoutDir, public testing::WithParamInterface<LineEndCase> {};

TEST_P(LayoutLineEnds, ReadTheSameChannels) {
    const LineEndCase c = GetParam();
    CSensorLayout original;
    ASSERT_EQ(original.readFile(VELMORA_SOURCE_DIR "/data/layouts/" + std::string(c.file)), 1);
    const std::string lf = c.format(text(c.file));
    const std::string contents = (c.bom ? "\xEF\xBB\xBF" : "") + withLineEnds(lf, c.lineEnd);
    ASSERT_EQ(m_layout.readFile(write("layout", contents)), 1) << m_layout.getError();
    ASSERT_EQ(m_layout.getChannelCount(), original.getChannelCount());
    for (int i = 0; i < original.getChannelCount(); ++i) {
        const auto* a = original.getChannel(i);
        const auto* b = m_layout.getChannel(i);
        EXPECT_EQ(b->label, a->label);
        EXPECT_EQ(b->type, a->type) << a->label;
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(b->pos[k], a->pos[k], 1e-15) << a->label;
    }
}

std::string asIs(const std::string& s) {
    return s;
}

std::string biosemiElcInMm(const std::string&) {
    return elcText(embedded("eeg64-biosemi"), "mm", 1000.0, "Fp1");
}

std::string biosemiPlainInCm(const std::string&) {
    return "// BioSemi electrodes, cm\n" + plainLines(embedded("eeg64-biosemi"), 100.0);
}

std::vector<LineEndCase> lineEndCases() {
    std::vector<LineEndCase> cases;
    const std::pair<const char*, const char*> ends[] = {
        {"LF", "\n"}, {"CRLF", "\r\n"}, {"CR", "\r"}};
    for (const auto& [endName, end] : ends) {
        for (bool bom : {false, true}) {
            const std::string suffix = std::string("_") + endName + (bom ? "_BOM" : "");
            cases.push_back({"Neuromag306Typed" + suffix, "meg306-neuromag.txt", asIs, end, bom});
            cases.push_back({"Ctf274Typed" + suffix, "ctf274.txt", asIs, end, bom});
            cases.push_back(
                {"BioSemi64Elc" + suffix, "eeg64-biosemi.txt", biosemiElcInMm, end, bom});
            cases.push_back(
                {"BioSemi64Plain" + suffix, "eeg64-biosemi.txt", biosemiPlainInCm, end, bom});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Files, LayoutLineEnds, testing::ValuesIn(lineEndCases()),
                         [](const testing::TestParamInfo<LineEndCase>& i) { return i.param.name; });

CSensorLayout biosemi() {
    return embedded("eeg64-biosemi");
}

// BioSemi in metres with `line` (from 1) replaced.
std::string biosemiWith(int line, const std::string& replacement) {
    return plainLines(biosemi(), 1.0, [&](int i, std::string& s) {
        if (i + 1 == line)
            s = replacement;
    });
}

// BioSemi in mm with the channels of lines [first, last] written `scale` times larger.
std::string biosemiMmWith(int first, int last, double scale) {
    const CSensorLayout layout = biosemi();
    return plainLines(layout, 1000.0, [&](int i, std::string& s) {
        if (i + 1 >= first && i + 1 <= last)
            s = layout.getChannel(i)->label + triple(layout.getChannel(i)->pos, scale);
    });
}

std::string neuromagWith(const std::string& line) {
    return text("meg306-neuromag.txt") + line + "\n";
}

struct RefusedCase {
    std::string name;
    std::function<std::string()> contents;
    Unit unit;
    std::vector<std::string> pieces;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedLayout : public TempLayoutDir, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedLayout, NamesWhatIsWrongAndKeepsTheLayout) {
    expectRefused(write("layout", GetParam().contents()), GetParam().pieces, GetParam().unit);
}

const std::string kMeg0111 = " -0.106150 0.029141 -0.014726";

INSTANTIATE_TEST_SUITE_P(
    Hostile, RefusedLayout,
    testing::Values(
        RefusedCase{"Inches",
                    [] { return plainLines(biosemi(), 1.0 / 0.0254); },
                    Unit::Auto,
                    {"the sensors lie 3.74 from their centre on average",
                     "in none of m, cm and mm; as inches they would give 9.5 cm"}},
        RefusedCase{"MetresAmongMillimetres",
                    [] { return biosemiMmWith(10, 12, 1.0); },
                    Unit::Auto,
                    {"line 10: 'FC3' lies 0.125 from the origin but the median sensor 11",
                     "the positions mix units, as m and mm would be"}},
        RefusedCase{"CentimetresAmongMillimetres",
                    [] { return biosemiMmWith(10, 10, 100.0); },
                    Unit::Auto,
                    {"line 10: 'FC3' lies 12.5 from the origin", "as cm and mm would be"}},
        RefusedCase{"ElcStatesMetresForMillimetres",
                    [] { return elcText(biosemi(), "m", 1000.0, "Fp1"); },
                    Unit::Auto,
                    {"UnitPosition m puts the sensors 95 m from their centre on average, but a "
                     "head's radius is 5 cm to 30 cm; the numbers look like mm"}},
        RefusedCase{"RequestedUnitContradicts",
                    [] { return plainLines(biosemi(), 1.0); },
                    Unit::Millimetre,
                    {"the requested unit mm puts the sensors 0.095 mm", "look like m"}},
        RefusedCase{"HeadOf4_9cm",
                    [] { return plainLines(biosemi(), 0.049 / 0.095); },
                    Unit::Auto,
                    {"the sensors lie 0.049 from their centre"}},
        RefusedCase{"HeadOf31cm",
                    [] { return plainLines(biosemi(), 0.31 / 0.095); },
                    Unit::Auto,
                    {"the sensors lie 0.31 from their centre"}},
        RefusedCase{"AllZero",
                    [] { return std::string("A 0 0 0\r\nB 0 0 0\r\nC 0 0 0\r\n"); },
                    Unit::Auto,
                    {"all 3 positions are (0, 0, 0)"}},
        RefusedCase{"OneAtTheOrigin",
                    [] { return withLineEnds(biosemiWith(5, "F3 0 0 0"), "\r"); },
                    Unit::Auto,
                    {"line 5: 'F3' lies at the origin (0, 0, 0)"}},
        RefusedCase{"ElectrodesLessThan1mmApart",
                    [] { return plainLines(biosemi(), 1.0) + "X 0.0009 0 0.135149\n"; },
                    Unit::Auto,
                    {"line 65: 'X' and 'Cz' (line 48) coincide: 0.9 mm apart, closer than 1 mm"}},
        RefusedCase{"ElectrodeOnAnMegSensor",
                    [] { return neuromagWith("EEG001 eeg" + kMeg0111); },
                    Unit::Auto,
                    {"line 309: 'EEG001' and 'MEG0113' (line 3) coincide: 0 mm apart"}},
        RefusedCase{"FourthMegChannelAtOnePlace",
                    [] { return neuromagWith("MEG9991 mag" + kMeg0111 + " 0 0 1"); },
                    Unit::Auto,
                    {"line 309: 'MEG9991' is a fourth MEG channel within 1 mm of 'MEG0113', "
                     "'MEG0112' and 'MEG0111'"}},
        RefusedCase{
            "Latin1Label",
            [] { return biosemiWith(3, "M\xE9" + triple(biosemi().getChannel(2)->pos, 1)); },
            Unit::Auto,
            {"line 3: byte 0xE9 in column 2 is not UTF-8"}},
        RefusedCase{"Latin1ElcLabel",
                    [] { return elcText(biosemi(), "mm", 1000.0, "Fp\xE9"); },
                    Unit::Auto,
                    {"line 71: byte 0xE9 in column 3 is not UTF-8"}},
        RefusedCase{"OverlongUtf8",
                    [] { return biosemiWith(2, "A\xC0\xAF 0 0.09 0"); },
                    Unit::Auto,
                    {"line 2: byte 0xC0 in column 2 is not UTF-8"}},
        RefusedCase{"Utf8Surrogate",
                    [] { return biosemiWith(2, "A\xED\xA0\x80 0 0.09 0"); },
                    Unit::Auto,
                    {"line 2: byte 0xED in column 2 is not UTF-8"}},
        RefusedCase{"C1ControlInLabel",
                    [] { return biosemiWith(2, "A\xC2\x80 0 0.09 0"); },
                    Unit::Auto,
                    {"line 2: control character U+0080 in column 2"}},
        RefusedCase{"NulInLabel",
                    [] { return biosemiWith(2, std::string("A\0B 0 0.09 0", 12)); },
                    Unit::Auto,
                    {"line 2: control character 0x00 in column 2"}},
        RefusedCase{"DuplicateElcLabel",
                    [] { return withLineEnds(elcText(biosemi(), "mm", 1000.0, "Fp2"), "\r\n"); },
                    Unit::Auto,
                    {"line 104: duplicate label 'Fp2'"}},
        RefusedCase{"Utf16",
                    [] {
                        return std::string("\xFF\xFE"
                                           "C\0z\0",
                                           6);
                    },
                    Unit::Auto,
                    {"the text is UTF-16; layouts are read as UTF-8"}}),
    [](const testing::TestParamInfo<RefusedCase>& i) { return i.param.name; });

TEST_F(TempLayoutDir, PlausibleEdgesAreRead) {
    for (double radius : {0.051, 0.29}) {
        ASSERT_EQ(m_layout.readFile(write("head", plainLines(biosemi(), radius / 0.095))), 1)
            << radius << ": " << m_layout.getError();
        EXPECT_EQ(m_layout.getUnit(), Unit::Metre);
    }
    const std::string apart = plainLines(biosemi(), 1.0) + "X 0.0011 0 0.135149\n";
    ASSERT_EQ(m_layout.readFile(write("apart", apart)), 1) << m_layout.getError();
    EXPECT_EQ(m_layout.getChannelCount(), 65);

    const std::string accents = biosemiWith(3, "M\xC3\xA9 -0.038593 0.082764 0.066334") +
                                "M\xC3\xA8 0.07 -0.07 0.05\n\xF0\x9F\xA7\xA0 0.0 0.0 0.13\n";
    ASSERT_EQ(m_layout.readFile(write("accents", accents)), 1) << m_layout.getError();
    EXPECT_EQ(m_layout.getChannel(2)->label, "M\xC3\xA9");
    EXPECT_EQ(m_layout.getChannel(64)->label, "M\xC3\xA8");

    // A midline row spans no sphere; its distances from the origin make the head.
    ASSERT_EQ(m_layout.readFile(write("row", "Fz 0 7 6\nCz 0 0 9\nPz 0 -7 6\nOz 0 -9 1\n")), 1)
        << m_layout.getError();
    EXPECT_EQ(m_layout.getUnit(), Unit::Centimetre);
}

} // namespace

namespace {

// Where the front is: typed layouts and the built-in ones are in head coordinates; other
// files say it only through their fiducials, in whatever orientation they were measured.
TEST(LayoutHeadFrame, KnownFromTypesOrFiducialsOnly) {
    for (const char* name : {"meg306-neuromag", "ctf274", "eeg64-biosemi"})
        EXPECT_TRUE(embedded(name).getHeadFrame().known) << name;
    CSensorLayout layout;
    ASSERT_EQ(layout.readText("Cz 0 0 0.09\nOz 0 -0.09 0\nFpz 0 0.09 0\nT7 -0.09 0 0\n"), 1);
    EXPECT_FALSE(layout.getHeadFrame().known) << "plain positions say nothing of the front";
    // Measured with the nose along -x and the right ear along -y; fiducials a little off.
    ASSERT_EQ(layout.readText("Cz 0 0 0.09\nNAS -0.1 0 0.01\nLPA 0.005 0.08 0.01\n"
                              "RPA 0.005 -0.08 0.01\nOz 0.09 0 0\n"),
              1);
    const CSensorLayout::HeadFrame& f = layout.getHeadFrame();
    ASSERT_TRUE(f.known);
    EXPECT_NEAR(f.front[0], -1.0, 0.01);
    EXPECT_NEAR(f.right[1], -1.0, 1e-9);
    EXPECT_NEAR(f.front[0] * f.right[0] + f.front[1] * f.right[1] + f.front[2] * f.right[2], 0.0,
                1e-12);
    ASSERT_EQ(layout.readText("Cz 0 0 0.09\nNAS -0.1 0 0.01\nLPA 0.005 0.08 -0.02\nOz 0.09 0 0\n"),
              1);
    EXPECT_FALSE(layout.getHeadFrame().known) << "one ear is not enough";
}

} // namespace
