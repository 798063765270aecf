// Pictures for a high-density screen carry its pixel ratio: painted there they are not
// enlarged, and they cover the same logical size as on an ordinary screen.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "widgets/crisp_pixmap.h"

namespace tarnwick {

namespace {

const QString kButtons = TARNWICK_SOURCE_DIR "/data/System/Buttons/";

TEST(CrispPixmapTest, ADrawnPictureHasTheRatiosDevicePixels) {
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        const QPixmap picture = CrispPixmap({14, 10}, ratio);
        EXPECT_EQ(picture.size(), QSize(14, 10) * ratio) << ratio;
        EXPECT_EQ(LogicalSize(picture), QSize(14, 10)) << ratio;
        EXPECT_TRUE(picture.toImage().hasAlphaChannel());
    }
}

TEST(CrispPixmapTest, ADenseScreenGetsTheDoubleSizedFileWhereThereIsOne) {
    const struct {
        qreal ratio;
        QSize device;
    } cases[] = {{1.0, {14, 14}}, {1.25, {14, 14}}, {1.5, {28, 28}}, {2.0, {28, 28}}, {3.0, {28, 28}}};
    for (const auto& c : cases) {
        const QPixmap picture = LoadCrispPicture(kButtons + "TextBreakpoint.png", c.ratio);
        EXPECT_EQ(picture.size(), c.device) << c.ratio;
        EXPECT_EQ(LogicalSize(picture), QSize(14, 14)) << c.ratio;
    }
}

TEST(CrispPixmapTest, WithoutADoubleSizedFileTheOrdinaryOneServesAndAMissingOneIsNull) {
    const QString folder = QString::fromStdString(testing::TempDir()) + "crisp-" +
                           testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(kButtons + "TextError.png", folder + "/Only.png"));
    const QPixmap only = LoadCrispPicture(folder + "/Only.png", 2.0);
    EXPECT_EQ(only.size(), QSize(14, 14));
    EXPECT_EQ(LogicalSize(only), QSize(14, 14));
    EXPECT_TRUE(LoadCrispPicture(folder + "/Missing.png", 2.0).isNull());
    QDir(folder).removeRecursively();
}

}  // namespace

}  // namespace tarnwick
