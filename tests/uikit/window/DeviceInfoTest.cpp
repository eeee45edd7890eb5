#include "uikit/window/DIDeviceInfo.h"
#include "uikit/window/DISystemProbe.h"
#include "uikit/window/OSVMacVersion.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

namespace {

// A fake root with /proc and /sys files.
class FakeRoot {
public:
    FakeRoot() { EXPECT_TRUE(m_dir.isValid()); }
    QString path() const { return m_dir.path(); }
    void write(const QString& relative, const QByteArray& contents)
    {
        const QString file = QDir(m_dir.path()).filePath(relative);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(contents);
    }

private:
    QTemporaryDir m_dir;
};

DIScreen screen(QSizeF points, double scale, QSizeF mm)
{
    return { points, points * scale, mm, scale };
}

DIDeviceInfo::ScreenSource screens(QList<DIScreen> list)
{
    return [list] { return list; };
}

} // namespace

TEST(DIDeviceInfo, ReadsAFakeMachine)
{
    FakeRoot root;
    root.write(u"sys/class/dmi/id/product_name"_s, "MacBookPro11,1\n");
    root.write(u"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq"_s, "2600000\n");
    root.write(u"sys/devices/system/cpu/online"_s, "0-3,6\n");
    root.write(u"sys/devices/system/cpu/cpu0/cache/index0/level"_s, "1\n");
    root.write(u"sys/devices/system/cpu/cpu0/cache/index0/size"_s, "32K\n");
    root.write(u"sys/devices/system/cpu/cpu0/cache/index2/level"_s, "2\n");
    root.write(u"sys/devices/system/cpu/cpu0/cache/index2/type"_s, "Unified\n");
    root.write(u"sys/devices/system/cpu/cpu0/cache/index2/size"_s, "256K\n");
    root.write(u"proc/meminfo"_s, "MemFree: 10 kB\nMemTotal:       16777216 kB\n");
    root.write(u"proc/sys/kernel/osrelease"_s, "6.1.0-18-amd64\n");
    root.write(u"proc/sys/kernel/hostname"_s, "kitchen\n");

    const DIDeviceInfo info(DISystemProbe(root.path()),
        screens({ screen({ 1440, 900 }, 2, { 286, 179 }), screen({ 1920, 1080 }, 1, { 0, 0 }) }));
    EXPECT_EQ(info.rawSystemInfoString(), u"MacBookPro11,1"_s);
    // "MacBook Pro" with a blank does not match the identifier; "MacBook" does.
    EXPECT_EQ(info.family(), DIDeviceFamily::MacBook);
    EXPECT_EQ(info.deviceVersion().major, 11U);
    EXPECT_EQ(info.deviceVersion().minor, 1U);
    EXPECT_DOUBLE_EQ(info.cpuInfo().frequency, 2.6);
    EXPECT_EQ(info.cpuInfo().numberOfCores, 5U);
    EXPECT_DOUBLE_EQ(info.cpuInfo().l2CacheSize, 256);
    EXPECT_DOUBLE_EQ(info.physicalMemory(), 16);
    EXPECT_EQ(info.osVersion().major, 6U);
    EXPECT_EQ(info.osVersion().minor, 1U);
    EXPECT_EQ(info.osVersion().patch, 0U);
    EXPECT_EQ(info.nodeName(), u"kitchen"_s);
    EXPECT_EQ(info.allScreens(), u"1440x900 | 1920x1080 | "_s);
    EXPECT_EQ(info.displayInfo().screenSize, QSizeF(1440, 900));
    EXPECT_NEAR(info.displayInfo().pixelsPerInch, 255.6, 0.5);
    EXPECT_EQ(info.systemByteOrder(), QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 0 : 1);

    const QString description = info.description();
    EXPECT_TRUE(
        description.contains(u"\nrawSystemInfoString: MacBookPro11,1\nnodeName: kitchen\nfamily: 4\n"_s));
    EXPECT_TRUE(description.contains(u"\ncpuInfo.frequency: 2.600\n"_s));
    EXPECT_TRUE(description.contains(u"\npysicalMemory: 16.000\n"_s));
    EXPECT_TRUE(description.contains(u"\nscreenResolution: 1440x900\nosVersion.major: 6\n"_s));
}

TEST(DIDeviceInfo, AnEmptyOrUnreadableMachineGivesZerosNotACrash)
{
    FakeRoot root;
    const DIDeviceInfo empty(DISystemProbe(root.path()), screens({}));
    EXPECT_EQ(empty.rawSystemInfoString(), u""_s);
    EXPECT_FALSE(empty.rawSystemInfoString().isNull());
    EXPECT_EQ(empty.family(), DIDeviceFamily::Unknown);
    EXPECT_EQ(empty.cpuInfo().numberOfCores, 0U);
    EXPECT_EQ(empty.cpuInfo().frequency, 0);
    EXPECT_EQ(empty.physicalMemory(), 0);
    EXPECT_EQ(empty.osVersion().major, 0U);
    EXPECT_EQ(empty.allScreens(), u""_s);
    EXPECT_EQ(empty.displayInfo().pixelsPerInch, 0);
    EXPECT_FALSE(empty.description().isEmpty());

    // Surprising contents: garbage, negative and huge numbers, folders where files should be.
    root.write(u"sys/class/dmi/id/product_name"_s, QByteArray("\0\0\0", 3));
    root.write(u"sys/devices/system/cpu/online"_s, "3-1,x\n");
    root.write(u"proc/cpuinfo"_s, "processor : 0\ncpu MHz : -5\nprocessor : 1\n");
    root.write(u"proc/meminfo"_s, "MemTotal: lots kB\n");
    root.write(u"proc/sys/kernel/osrelease"_s, "\xff\xfe garbage");
    QDir(root.path()).mkpath(u"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq"_s);
    const DIDeviceInfo odd(DISystemProbe(root.path()),
        screens({ screen({ 0, 0 }, 0, { 0, 0 }), screen({ -5, 1e300 }, 1, { -1, 1e308 }) }));
    EXPECT_EQ(odd.rawSystemInfoString(), u""_s);
    EXPECT_EQ(odd.cpuInfo().numberOfCores, 2U); // the bad list is skipped, the processors counted
    EXPECT_EQ(odd.cpuInfo().frequency, 0);
    EXPECT_EQ(odd.physicalMemory(), 0);
    EXPECT_EQ(odd.osVersion().major, 0U);
    EXPECT_EQ(odd.displayInfo().pixelsPerInch, 0);
}

TEST(DIDeviceInfo, ModelNumbers)
{
    auto version = [](const QString& model) {
        const DIDeviceVersion v = DIDeviceInfo::deviceVersionForModel(model);
        return std::make_pair(v.major, v.minor);
    };
    EXPECT_EQ(version(u"iMac14,2"_s), std::make_pair(14ULL, 2ULL));
    EXPECT_EQ(version(u"MacBookAir"_s), std::make_pair(0ULL, 0ULL)); // no comma
    EXPECT_EQ(version(u"Board,7"_s), std::make_pair(0ULL, 0ULL)); // first digit after the comma
    EXPECT_EQ(version(u"X1,-3"_s), std::make_pair(1ULL, 0ULL));
    EXPECT_EQ(version(u"X99999999999999999999999,1"_s).second, 1ULL); // no overflow trap
    EXPECT_EQ(DIDeviceInfo_Common::familyForModel(u"Macmini7,1"_s), DIDeviceFamily::Unknown);
    EXPECT_EQ(DIDeviceInfo_Common::familyForModel(u"MacBook Air (M1)"_s), DIDeviceFamily::MacBookAir);
    EXPECT_EQ(DIDeviceInfo_Common::familyForModel(u"Xserve3,1"_s), DIDeviceFamily::Xserve);
}

TEST(DIDeviceInfo, OperatingSystemVersionChecks)
{
    FakeRoot root;
    root.write(u"proc/sys/kernel/osrelease"_s, "10.13.2\n");
    const DIDeviceInfo info(DISystemProbe(root.path()), screens({}));
    EXPECT_TRUE(info.isOperatingSystemAtLeastVersion(u"10"_s)); // 10.0.0
    EXPECT_TRUE(info.isOperatingSystemAtLeastVersion(u"10.13.2.9"_s)); // the fourth part is ignored
    EXPECT_FALSE(info.isOperatingSystemAtLeastVersion(u"10.13.3"_s));
    EXPECT_FALSE(info.isOperatingSystemAtLeastVersion(u"11"_s));
    EXPECT_TRUE(info.isOperatingSystemAtLeastVersion(u"9.99"_s));
    EXPECT_TRUE(info.isOperatingSystemAtLeastVersion(u"junk"_s));
}

TEST(DISystemProbe, Parsers)
{
    EXPECT_EQ(DISystemProbe::parseCpuList(u"0"_s), 1U);
    EXPECT_EQ(DISystemProbe::parseCpuList(u"0-7"_s), 8U);
    EXPECT_EQ(DISystemProbe::parseCpuList(u""_s), 0U);
    EXPECT_EQ(DISystemProbe::parseCpuList(u"1-2-3"_s), 0U);
    EXPECT_EQ(DISystemProbe::parseCacheSize(u"1M"_s), 1048576);
    EXPECT_EQ(DISystemProbe::parseCacheSize(u"512"_s), 512);
    EXPECT_EQ(DISystemProbe::parseCacheSize(u"big"_s), 0);
    EXPECT_EQ(DISystemProbe::parseCpuMHz(u"model name : x\ncpu MHz\t\t: 2400.000\n"_s), 2400);
    EXPECT_EQ(DIDeviceInfo_Common::parseOSVersion(u"6"_s).minor, 0U);
    EXPECT_EQ(DIDeviceInfo_Common::parseOSVersion(u"5.15.90.1-microsoft"_s).patch, 90U);
}

TEST(OSVMacVersion, Classification)
{
    EXPECT_EQ(OSVMacVersion::classifyModel(u"MacBookPro11,1"_s), std::make_pair(u"MacBookPro"_s, qint64(6)));
    EXPECT_EQ(OSVMacVersion::classifyModel(u"MacPro6,1"_s), std::make_pair(u"MacPro"_s, qint64(3)));
    EXPECT_EQ(OSVMacVersion::classifyModel(u"Macmini8,1"_s), std::make_pair(u"Unknown"_s, qint64(0)));
    EXPECT_EQ(OSVMacVersion::classifyModel(QString()), std::make_pair(u"Unknown"_s, qint64(0)));

    EXPECT_EQ(OSVMacVersion::resolutionClass({}), 2);
    EXPECT_EQ(OSVMacVersion::resolutionClass({ 1.0 }), 2);
    EXPECT_EQ(OSVMacVersion::resolutionClass({ 1.0, 2.0 }), 1);
    EXPECT_EQ(OSVMacVersion::resolutionClass({ 1.25 }), 0);
    EXPECT_EQ(OSVMacVersion::resolutionClass({ 0.5 }), 2); // the largest starts at 1

    EXPECT_EQ(OSVMacVersion::sizeInInches({ 286, 179 }), 13);
    EXPECT_EQ(OSVMacVersion::sizeInInches({ 320, 182 }), 0); // floors to 14: not in the table
    EXPECT_EQ(OSVMacVersion::sizeInInches({ 0, 0 }), 0);
    EXPECT_EQ(OSVMacVersion::sizeInInches({ 1e308, 1e308 }), 0);
    EXPECT_EQ(OSVMacVersion::deviceSizeName(0), u"Unknown Size"_s);
    EXPECT_EQ(OSVMacVersion::deviceSizeName(21), u"21.5 inch"_s);
    EXPECT_EQ(OSVMacVersion::deviceSizeName(27), u"27 inch"_s);
    EXPECT_TRUE(OSVMacVersion::deviceSizeName(16).isNull());
    EXPECT_EQ(OSVMacVersion::deviceScreenResolutionName(1), u"Retina screen"_s);
    EXPECT_TRUE(OSVMacVersion::deviceScreenResolutionName(3).isNull());

    const QVariantMap info
        = OSVMacVersion::informationFor(u"iMac14,2"_s, { screen({ 2560, 1440 }, 2, { 600, 340 }) });
    EXPECT_EQ(info.value(OSVMacVersion::kDeviceNameKey).toString(), u"iMac"_s);
    EXPECT_EQ(info.value(OSVMacVersion::kVersionEnumKey).toLongLong(), 1);
    EXPECT_EQ(info.value(OSVMacVersion::kResolutionKey).toLongLong(), 1);
    EXPECT_EQ(info.value(OSVMacVersion::kReleaseSizeKey).toLongLong(), 27);
}

TEST(OSVMacVersion, AnswersAreWorkedOutOnceAndNumbersCompareByValue)
{
    const QVariantMap first = OSVMacVersion::deviceInformationForModel(u"MacPro6,1"_s);
    EXPECT_EQ(OSVMacVersion::deviceInformationForModel(u"iMac14,2"_s), first);
    EXPECT_EQ(OSVMacVersion::compareNumerically(u"13"_s, u"9"_s), 1);
    EXPECT_EQ(OSVMacVersion::compareNumerically(u"9"_s, u"13"_s), -1);
    EXPECT_EQ(OSVMacVersion::compareNumerically(u"013"_s, u"13"_s), 0);
    EXPECT_EQ(OSVMacVersion::compareNumerically(u"1.10"_s, u"1.9"_s), 1);
    EXPECT_EQ(OSVMacVersion::compareNumerically(u"abc"_s, u"abd"_s), -1);
    // The running system's minor number against itself and its neighbours.
    const QString minor = QString::number(DIDeviceInfo::deviceInfo().osVersion().minor);
    EXPECT_TRUE(OSVMacVersion::versionEqualTo(minor));
    EXPECT_TRUE(OSVMacVersion::versionGreaterThanOrEqualTo(minor));
    EXPECT_TRUE(OSVMacVersion::versionLessThan(QString::number(minor.toULongLong() + 1)));
    EXPECT_FALSE(OSVMacVersion::versionGreaterThan(minor));
}

TEST(DIDeviceInfo, TheRealMachineReportsPlausibleValues)
{
    const DIDeviceInfo& info = DIDeviceInfo::deviceInfo();
    EXPECT_EQ(&info, &DIDeviceInfo::deviceInfo());
    EXPECT_GE(info.cpuInfo().numberOfCores, 1U);
    EXPECT_GT(info.physicalMemory(), 0);
    EXPECT_GE(info.osVersion().major, 2U); // the kernel's release
    EXPECT_FALSE(info.nodeName().isEmpty());
    EXPECT_FALSE(info.rawSystemInfoString().isNull());
    EXPECT_FALSE(info.allScreens().isEmpty()); // the offscreen platform has one screen
}
