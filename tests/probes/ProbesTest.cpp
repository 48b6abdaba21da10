// Coils, sensors and electrodes: positions, normals and null handling.
#include "probes/CEEGelectrodezq.h"
#include "probes/CMEGSensorzq.h"

#include <gtest/gtest.h>

TEST(Probes, CoilKeepsPositionAndUnitNormal) {
    const double pos[3] = {0.01, -0.02, 0.1}, normal[3] = {0.0, 0.0, 2.0};
    CBscMagSnszq coil(pos, normal);
    double p[3], n[3];
    ASSERT_EQ(coil.getCoilPositionD(p), 1);
    ASSERT_EQ(coil.getCoilOrientationD(n), 1);
    EXPECT_DOUBLE_EQ(p[1], -0.02);
    EXPECT_DOUBLE_EQ(n[2], 1.0);
    EXPECT_EQ(coil.getCoilPositionD(nullptr), 0);
    EXPECT_EQ(coil.getCoilOrientationD(nullptr), 0);

    const double bad[3] = {0.0, std::numeric_limits<double>::quiet_NaN(), 0.0};
    CBscMagSnszq odd(nullptr, bad);
    ASSERT_EQ(odd.getCoilOrientationD(n), 1);
    ASSERT_EQ(odd.getCoilPositionD(p), 1);
    EXPECT_EQ(n[0] + n[1] + n[2] + p[0] + p[1] + p[2], 0.0);
}

TEST(Probes, SensorOwnsCoilsAndRefusesBadIndices) {
    CMEGSensorzq sensor("MEG0111", CMEGSensor::Magnetometer);
    EXPECT_EQ(sensor.getLabel(), "MEG0111");
    EXPECT_EQ(sensor.getKind(), CMEGSensor::Magnetometer);
    EXPECT_EQ(sensor.getCoil(0), nullptr);
    const double pos[3] = {0.0, 0.0, 0.12};
    EXPECT_EQ(sensor.addCoil(CBscMagSnszq(pos, pos)), 1);
    EXPECT_EQ(sensor.getCoilCount(), 1);
    ASSERT_NE(sensor.getCoil(0), nullptr);
    EXPECT_EQ(sensor.getCoil(1), nullptr);
    EXPECT_EQ(sensor.getCoil(-1), nullptr);
    const CMEGSensorzq& constSensor = sensor;
    double p[3];
    ASSERT_EQ(constSensor.getCoil(0)->getCoilPositionD(p), 1);
    EXPECT_DOUBLE_EQ(p[2], 0.12);
}

TEST(Probes, ElectrodeKeepsLabelAndPosition) {
    const double pos[3] = {-0.05, 0.06, 0.07};
    CEEGelectrodezq electrode("C3", pos);
    double p[3];
    EXPECT_EQ(electrode.getLabel(), "C3");
    ASSERT_EQ(electrode.getElectrodePositionD(p), 1);
    EXPECT_DOUBLE_EQ(p[0], -0.05);
    EXPECT_EQ(electrode.getElectrodePositionD(nullptr), 0);
    CEEGelectrodezq blank;
    ASSERT_EQ(blank.getElectrodePositionD(p), 1);
    EXPECT_EQ(p[0], 0.0);
}
