#include "engineering/cogo/direction.h"

#include <gtest/gtest.h>

#include "core/messages.h"
#include "functions/function_registry.h"

namespace qx {
namespace {

struct AngleCase {
    int mode;
    AngleType type;
    double angle;
    double ray;      // expected when the case succeeds
    int32_t module;  // 0: succeeds; 6: geometry table; 5: math table
    int32_t code;
};

constexpr int32_t kOk = 0;
constexpr int32_t kGeo = kModuleGeometryLibrary;
constexpr int32_t kMath = kModuleMathLibrary;

TEST(Direction, AnglesInEveryModeAndTypeBecomeRays) {
    const AngleCase cases[] = {
        {1, AngleType::Ray, 30.0, 30.0, kOk, 0},
        {1, AngleType::Ray, 360.0, 0.0, kOk, 0},  // a whole turn is reduced before use
        {1, AngleType::Ray, 725.0, 5.0, kOk, 0},
        {0, AngleType::Ray, 3.14159265359 / 2, 90.0, kOk, 0},
        {2, AngleType::Ray, 100.0, 90.0, kOk, 0},
        {3, AngleType::Ray, 10.3000, 10.5, kOk, 0},
        {3, AngleType::Bearing, 245.3020, 270.0 + 45.0 + 30.0 / 60 + 20.0 / 3600, kOk, 0},  // S45 30'20"E
        {1, AngleType::Bearing, 130.0, 60.0, kOk, 0},                                       // N30E
        {1, AngleType::Bearing, 430.0, 120.0, kOk, 0},                                      // N30W
        {1, AngleType::Bearing, 370.0, 200.0, kOk, 0},                                      // S70W
        {1, AngleType::AzimuthNorth, 90.0, 0.0, kOk, 0},
        {1, AngleType::AzimuthNorth, 330.0, 120.0, kOk, 0},
        {1, AngleType::AzimuthSouth, 0.0, 270.0, kOk, 0},
        {1, AngleType::Rotation, -10.0, 350.0, kOk, 0},
        {1, AngleType::Rotation, 170.0, 170.0, kOk, 0},
        {0, AngleType::Bearing, 1.0, 0.0, kGeo, codeOf(L06::IllegalMode)},
        {2, AngleType::Bearing, 130.0, 0.0, kGeo, codeOf(L06::IllegalMode)},
        {1, AngleType::Ray, -10.0, 0.0, kGeo, codeOf(L06::IllegalAngleType)},
        {1, AngleType::AzimuthSouth, -1.0, 0.0, kGeo, codeOf(L06::IllegalAngleType)},
        {1, AngleType::Bearing, 530.0, 0.0, kGeo, codeOf(L06::IllegalQuadrant)},
        {1, AngleType::Bearing, 30.0, 0.0, kGeo, codeOf(L06::IllegalQuadrant)},
        {1, AngleType::Bearing, 195.0, 0.0, kGeo, codeOf(L06::AngleOutOfRange)},
        {1, AngleType::Rotation, 190.0, 0.0, kGeo, codeOf(L06::AngleOutOfRange)},
        {3, AngleType::Ray, 10.7000, 0.0, kMath, 4},  // seventy minutes: "angle is out-of-range"
    };
    for (const AngleCase& c : cases) {
        DirectionRecord d;
        ErrStat err;
        const bool ok = directionFromAngle(c.mode, c.type, c.angle, d, err);
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " type " << static_cast<int>(c.type) << " angle "
                                        << c.angle);
        ASSERT_EQ(ok, c.module == kOk);
        if (ok) {
            EXPECT_NEAR(d.ray(), c.ray, 1e-9);
        } else {
            EXPECT_EQ(err.savedModule, c.module);
            EXPECT_EQ(err.savedCode, c.code);
        }
    }
}

TEST(Direction, OneDirectionInAllItsForms) {
    struct FormsCase {
        double ray;
        double bearing;
        double azimuthNorth;
        double azimuthSouth;
        double rotation;
    };
    const FormsCase cases[] = {
        {30.0, 160.0, 60.0, 240.0, 30.0},    {120.0, 430.0, 330.0, 150.0, 120.0}, {200.0, 370.0, 250.0, 70.0, -160.0},
        {300.0, 230.0, 150.0, 330.0, -60.0}, {90.0, 100.0, 0.0, 180.0, 90.0},
    };
    for (const FormsCase& c : cases) {
        DirectionRecord d;
        ErrStat err;
        ASSERT_TRUE(setDirection(d, AngleType::Ray, c.ray, err));
        EXPECT_NEAR(d.form(AngleType::Bearing), c.bearing, 1e-9) << c.ray;
        EXPECT_NEAR(d.form(AngleType::AzimuthNorth), c.azimuthNorth, 1e-9) << c.ray;
        EXPECT_NEAR(d.form(AngleType::AzimuthSouth), c.azimuthSouth, 1e-9) << c.ray;
        EXPECT_NEAR(d.form(AngleType::Rotation), c.rotation, 1e-9) << c.ray;
        // Every form leads back to the same ray.
        for (AngleType t :
             {AngleType::Bearing, AngleType::AzimuthNorth, AngleType::AzimuthSouth, AngleType::Rotation}) {
            DirectionRecord back;
            ASSERT_TRUE(setDirection(back, t, d.form(t), err));
            EXPECT_NEAR(back.ray(), c.ray, 1e-9) << c.ray;
        }
    }
}

// A foresight 90 degrees clockwise from the backsight, stated as each of the four field angles.
TEST(Direction, FieldAnglesDescribeTheSameTurn) {
    const std::pair<AngleType, double> given[] = {
        {AngleType::AngleRight, 90.0},
        {AngleType::AngleLeft, 270.0},
        {AngleType::DeflectionRight, 270.0},
        {AngleType::DeflectionLeft, 90.0},
    };
    for (const auto& [type, angle] : given) {
        DirectionRecord d;
        ErrStat err;
        ASSERT_TRUE(setFieldAngle(d, type, angle, err));
        EXPECT_DOUBLE_EQ(d.form(AngleType::AngleRight), 90.0);
        EXPECT_DOUBLE_EQ(d.form(AngleType::AngleLeft), 270.0);
        EXPECT_DOUBLE_EQ(d.form(AngleType::DeflectionRight), 270.0);
        EXPECT_DOUBLE_EQ(d.form(AngleType::DeflectionLeft), 90.0);
        EXPECT_DOUBLE_EQ(turnedRay(90.0, d), 0.0);  // backsight north, foresight east
    }
    DirectionRecord d;
    ErrStat err;
    ASSERT_TRUE(setFieldAngle(d, AngleType::AngleRight, 360.0, err));
    EXPECT_DOUBLE_EQ(turnedRay(45.0, d), 45.0);
    EXPECT_FALSE(setFieldAngle(d, AngleType::AngleRight, -1.0, err));
    EXPECT_EQ(err.savedCode, codeOf(L06::AngleOutOfRange));
}

TEST(Direction, BearingsAreWrittenBackWithTheirQuadrant) {
    DirectionRecord d;
    ErrStat err;
    ASSERT_TRUE(directionFromAngle(3, AngleType::Bearing, 245.3020, d, err));
    EXPECT_NEAR(angleInMode(d, AngleType::Bearing, 3, err), 245.3020, 1e-9);
    EXPECT_NEAR(angleInMode(d, AngleType::Bearing, 1, err), 245.0 + 30.0 / 60 + 20.0 / 3600, 1e-9);
    EXPECT_NEAR(angleInMode(d, AngleType::AzimuthNorth, 3, err), 134.2940, 1e-9);
    angleInMode(d, AngleType::Bearing, 2, err);
    EXPECT_EQ(err.savedCode, codeOf(L06::IllegalMode));
}

}  // namespace
}  // namespace qx
