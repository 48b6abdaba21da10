// minimal-host: the least a host program does to show Velmora's windows. It fills a tiny data
// set through the builder, opens the single-channel spectrogram window through the facade,
// writes what the window shows to a PNG file headlessly, closes the window as a user would and
// quits when the message loop ends.
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "facade/CVelmoraFacezq.h"
#include "recording/CMEDataSetBuilder.h"
#include "win/afxwin.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr long long kTimePoints = 40;  // 0 to 390 ms in steps of 10 ms
constexpr long long kFrequencies = 12; // 4 to 26 Hz in steps of 2 Hz
constexpr int kChannels = 3;

// Power of channel c: a burst near 10 Hz around 200 ms, stronger on each further channel.
double burst(int c, long long t, long long f) {
    const double ms = 10.0 * static_cast<double>(t), hz = 4.0 + 2.0 * static_cast<double>(f);
    return (1.0 + c) * std::exp(-std::pow((ms - 200.0) / 80.0, 2) - std::pow((hz - 10.0) / 3.0, 2));
}

// One session, one trial, three magnetometers in a row above the head, and the Active
// spectra handed in directly. Every builder call says why it refused, if it does.
CMEDataSetBuilder::Result buildDataSet(CArrayMEDataSetzq& data) {
    CMEDataSetBuilder b(data);
    int s = 0, t = 0;
    CMEDataSetBuilder::Result r = b.addSession(&s);
    r = r ? b.addTrial(s, &t) : r;
    for (int c = 0; c < kChannels && r; ++c) {
        const double position[3] = {0.03 * (c - 1), 0.0, 0.1}; // metres
        const double normal[3] = {0.0, 0.0, 1.0};
        CMEGSensorzq sensor("MAG" + std::to_string(c + 1), CMEGSensor::Magnetometer);
        sensor.addCoil(CBscMagSnszq(position, normal));
        r = b.addMegChannel(s, u"", sensor);
    }
    std::vector<double> freqs;
    for (long long f = 0; f < kFrequencies; ++f)
        freqs.push_back(4.0 + 2.0 * static_cast<double>(f));
    r = r ? b.setSpectrumAxes(s, t, 0, kTimePoints, 0.0, 10.0, freqs) : r;
    for (int c = 0; c < kChannels && r; ++c) {
        std::vector<double> real, imag(kTimePoints * kFrequencies, 0.0), power;
        for (long long i = 0; i < kTimePoints; ++i)
            for (long long f = 0; f < kFrequencies; ++f) {
                power.push_back(burst(c, i, f));
                real.push_back(std::sqrt(power.back()));
            }
        r = b.setChannelSpectrum(s, t, c, 0, real, imag, power);
    }
    return r ? b.computeSpectra(s) : r;
}

// The views call the host back through this; this host has nothing to answer.
int onViewEvent(int, int) {
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !*argv[1]) {
        std::cerr << "usage: minimal-host PICTURE.png\n";
        return 2;
    }
    CArrayMEDataSetzq data;
    if (const CMEDataSetBuilder::Result r = buildDataSet(data); !r) {
        std::cerr << "minimal-host: " << r.message << "\n";
        return 1;
    }
    // Headless: the windows are painted offscreen. A host on a desktop leaves this out.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!AfxWinInit()) {
        std::cerr << "minimal-host: no window system\n";
        return 1;
    }
    // The facade owns every window it opens; it must outlive them, so it lives here.
    CVelmoraFacezq face;
    if (!face.show3DOneChnlSpctmAct(&data, onViewEvent, nullptr)) {
        std::cerr << "minimal-host: the single-channel window could not be opened\n";
        return 1;
    }
    CWnd* window = face.m_pDlgOneChnlAct;
    AfxPumpMessages(); // lays the window out and paints it
    if (!AfxSaveWindowImage(window, argv[1])) {
        std::cerr << "minimal-host: could not write " << argv[1] << "\n";
        return 1;
    }
    std::cout << "wrote " << argv[1] << "\n";
    // Closed as a user closes it: the message loop ends with the last shown window.
    window->PostMessage(WM_CLOSE);
    return AfxRunMessageLoop();
}
