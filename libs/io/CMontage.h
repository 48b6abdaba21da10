// Sensor positions for the channels of a file: labels matched case-insensitively against the
// layouts of CMontageOptions, the channel type taken from the layout's MEG types, else from
// the channel's physical unit (volt-like: EEG, tesla-like: MEG).
#pragma once

#include "io/CIoResult.h"
#include "io/CMontageOptions.h"
#include "probes/CSensorLayout.h"
#include "recording/CMEDataSetBuilder.h"

#include <memory>
#include <string>
#include <vector>

class CMontage {
public:
    enum class UnitKind { Unknown, Volt, Tesla };

    // One channel to place: its label and physical unit ("" when unknown).
    struct Input {
        std::string label;
        std::string unit;
    };
    // A channel with a position, the probe the data set gets for it and the unit of its
    // values ("" when the file names none).
    struct Placed {
        int input = 0; // index into the inputs given to place()
        std::string unit;
        std::unique_ptr<CMEGSensorzq> sensor;
        std::unique_ptr<CEEGelectrodezq> electrode;
    };

    // Load the layouts; fails naming the layout that cannot be read.
    CIoResult load(const CMontageOptions& options);

    // Place the inputs. Channels without a position are refused (one message naming them all)
    // or, with dropUnplaced, left out and listed in `dropped`. `file` names the source in
    // messages.
    CIoResult place(const std::vector<Input>& inputs, const std::string& file,
                    std::vector<Placed>& placed, std::vector<std::string>& dropped) const;

    // Add the placed channels, in order, to the session, each with the unit the file names
    // (the probe's SI unit where it names none).
    static CMEDataSetBuilder::Result addChannels(CMEDataSetBuilder& builder, int session,
                                                 const std::vector<Placed>& placed);

    // Tells the session where the head's front and right are when every layout knows it and
    // they agree; otherwise the session keeps an unknown frame. Succeeds in both cases.
    CMEDataSetBuilder::Result addHeadFrame(CMEDataSetBuilder& builder, int session) const;

    static UnitKind unitKind(const std::string& unit);
    // The unit as the views show it: a volt or tesla with the prefix "u" written with the
    // micro sign ("uV" is "µV"); any other unit as the file names it.
    static std::string shownUnit(const std::string& unit);

private:
    struct Entry {
        const CSensorLayout* layout;
        int index;
    };

    const Entry* find(const std::string& label) const;
    Placed makeProbe(int input, const Input& in, const Entry& entry) const;
    std::string layoutNames() const;

    CMontageOptions m_options;
    std::vector<std::unique_ptr<CSensorLayout>> m_layouts;
    std::vector<std::pair<std::string, Entry>> m_entries; // lower-case label, first layout wins
};
