// Sensor layouts: MEG sensors and EEG electrodes read from text files, from the layouts
// compiled into the library, or computed for the 10-10 system on a head sphere.
#pragma once

#include "probes/CEEGelectrodezq.h"
#include "probes/CMEGSensorzq.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CSensorLayout {
public:
    enum class Unit { Auto = 0, Metre, Centimetre, Millimetre };
    enum class Type { Magnetometer = 0, PlanarGradiometer, AxialGradiometer, Electrode };

    // One channel of the layout; positions in metres (head coordinates: x right, y front,
    // z up), normal a unit vector or (0, 0, 0) when the file gives none.
    struct Channel {
        std::string label;
        Type type = Type::Electrode;
        double pos[3] = {0.0, 0.0, 0.0};
        double normal[3] = {0.0, 0.0, 0.0};
    };

    // Read a layout file. Recognised, line by line: `label type x y z [nx ny nz]` (types mag,
    // grad, axial, eeg), `label x y z` (plain and .sfp), and the .elc form with its
    // Positions/Labels sections and UnitPosition; UTF-8 text, with or without a byte-order mark,
    // lines ended by LF, CRLF or CR. Positions are head coordinates (the origin inside the head).
    // Unit::Auto takes the unit the file states, else the one of m, cm and mm that gives a head
    // of 5 to 30 cm radius (the mean distance of the sensors from their fitted sphere's centre).
    // Refused, with the line or the numbers in getError(): a path that is not a regular file of
    // at most 64 MiB (checked before opening, so FIFOs and devices never block), labels that are
    // not UTF-8 or repeat, more than 100000 channels, all positions zero, a sensor at the
    // origin, mixed units, a head radius outside 5 to 30 cm (also when a stated unit gives it),
    // an electrode within 1 mm of another sensor, and more than three MEG channels (one sensor
    // unit, such as a Neuromag triplet) within 1 mm of one another.
    // 1 on success; 0 on failure, the layout then unchanged.
    int readFile(const std::string& path, Unit unit = Unit::Auto);
    int readText(std::string_view text, Unit unit = Unit::Auto);

    // Load a layout compiled into the library: "meg306-neuromag", "ctf274", "eeg64-biosemi".
    // 0 for another name, the layout then unchanged.
    int loadEmbedded(std::string_view name);
    static std::vector<std::string> getEmbeddedNames();

    // The electrodes of the 10-10 system on a sphere of `radius` metres centred at the
    // origin, the nasion-inion and ear line on its equator. 0 for a radius not in (0, 1], the
    // layout then unchanged.
    int makeEeg1010(double radius = 0.095);

    int getChannelCount() const { return static_cast<int>(m_channels.size()); }
    // The i-th channel, null out of range.
    const Channel* getChannel(int i) const;
    static bool isMegType(Type type) { return type != Type::Electrode; }

    // Probe objects of channel i: a sensor for MEG channels (axial gradiometers get a second
    // coil 5 cm further out), an electrode for EEG channels; null for the other kind or
    // out of range.
    std::unique_ptr<CMEGSensorzq> makeMegSensor(int i) const;
    std::unique_ptr<CEEGelectrodezq> makeElectrode(int i) const;

    // Where the head's front and right are in the layout's coordinates: known for the built-in
    // layouts, the 10-10 system and typed layout files (head coordinates: x right, y front),
    // and for other files that place the fiducials (nasion "NAS"/"Nasion"/"FidNz", ears
    // "LPA"/"FidT9" and "RPA"/"FidT10"); unknown otherwise. Unit vectors, front orthogonal to
    // right.
    struct HeadFrame {
        bool known = false;
        double front[3] = {0.0, 1.0, 0.0};
        double right[3] = {1.0, 0.0, 0.0};
    };
    const HeadFrame& getHeadFrame() const { return m_frame; }

    // Why the last read failed ("" after a success).
    const std::string& getError() const { return m_error; }
    // The unit the last read used.
    Unit getUnit() const { return m_unit; }

private:
    int fail(std::string message);
    // The frame from the fiducials; unknown without all three.
    void findFiducialFrame(const std::vector<Channel>& fiducials);

    std::vector<Channel> m_channels;
    HeadFrame m_frame;
    std::string m_error;
    Unit m_unit = Unit::Metre;
};
