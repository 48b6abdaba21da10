// One MNE -tfr.h5 condition packed in the reader process and unpacked in the viewer.
#include "CMneTfrServer.h"

#include "CMneTfrFile.h"

CReaderWire CMneTfrServer::read(const std::string& path, const std::string& condition) {
    CMneTfrFile file;
    CSpectraSource source;
    const bool ok = file.read(path, condition, source);
    CReaderWire reply;
    reply.putInt(ok ? 1 : 0);
    reply.putText(file.error());
    reply.putTexts(file.conditions());
    if (ok) {
        reply.putText(source.format);
        reply.putTexts(source.labels);
        reply.putTexts(source.units);
        reply.putNumbers(source.freqsHz);
        reply.putNumbers(source.timesSec);
        reply.putInt(source.complex ? 1 : 0);
        reply.putNumbers(source.values);
    }
    return reply;
}

bool CMneTfrServer::take(CReaderWire& reply, bool& ok, std::string& error,
                         std::vector<std::string>& conditions, CSpectraSource& out) {
    long long done = 0, complex = 0;
    if (!reply.getInt(done) || !reply.getText(error) || !reply.getTexts(conditions)) {
        return false;
    }
    ok = done == 1;
    if (!ok) {
        return true;
    }
    CSpectraSource s;
    if (!reply.getText(s.format) || !reply.getTexts(s.labels) || !reply.getTexts(s.units) ||
        !reply.getNumbers(s.freqsHz) || !reply.getNumbers(s.timesSec) || !reply.getInt(complex) ||
        !reply.getNumbers(s.values)) {
        return false;
    }
    s.complex = complex == 1;
    out = std::move(s);
    return true;
}
