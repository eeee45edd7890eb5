#pragma once

#include "charts/history/menu/LnChartMenuViewController.h"
#include "model/queries/ModelBuilders.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"
#include "uikit/controls/buttons/SegmentedControl.h"

#include <QCoreApplication>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace mervane::test {

/// A household with three asset categories, two liabilities and two tags in the store, and a
/// record of every notification the popover posts with what its key held on disk meanwhile.
class LnChartMenuTest : public TempHomeTest {
protected:
    struct Post {
        QVariant object;
        /// The key's value read from the settings file by another reader, when the post came.
        QVariant keyOnDisk;
    };

    void SetUp() override
    {
        TempHomeTest::SetUp();
        model = MVX_Model::makeEmpty();
        model->setAssetscat(
            MVX_CategoryList { makeCategory(QStringLiteral("A-HOME"), QStringLiteral("House")),
                makeCategory(QStringLiteral("A-SAVE"), QStringLiteral("Savings")),
                makeCategory(QStringLiteral("A-CAR"), QStringLiteral("Car")) });
        model->setLiabilitycat(
            MVX_CategoryList { makeCategory(QStringLiteral("L-MORT"), QStringLiteral("Mortgage")),
                makeCategory(QStringLiteral("L-CARD"), QStringLiteral("Credit card")) });
        model->setTags(MVX_TagsList { makeTag(QStringLiteral("T-HOME"), QStringLiteral("Home")),
            makeTag(QStringLiteral("T-TRAVEL"), QStringLiteral("Travel")) });
        NWData::shared()->setAppData(model);
        NWData::shared()->setSelectedTagIDs({});
    }
    void TearDown() override
    {
        m_context.reset();
        NWData::shared()->setAppData(nullptr);
        NWData::shared()->setSelectedTagIDs({});
        TempHomeTest::TearDown();
    }

    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    /// What another reader of the settings file finds under `key` now.
    static QVariant onDisk(const QString& key)
    {
        return platform::UserDefaults(platform::UserDefaults::standardFilePath()).value(key);
    }

    /// From now on every post of `name` is kept with `key` as found on disk.
    const QList<Post>& watch(const QString& name, const QString& key)
    {
        QList<Post>& list = posts[name];
        platform::NotificationCenter::defaultCenter().addObserver(
            m_context.get(), name, [&list, key](const platform::Notification& n) {
                list.append({ n.object, onDisk(key) });
            });
        return list;
    }

    /// Forgets every watch and what it kept.
    void stopWatching()
    {
        m_context = std::make_unique<QObject>();
        posts.clear();
    }

    /// A popover as the chart opens it, shown, with its visible rows made.
    static std::unique_ptr<LnChartMenuViewController> open()
    {
        auto menu = std::make_unique<LnChartMenuViewController>();
        menu->show();
        QCoreApplication::processEvents();
        return menu;
    }
    template <typename T> static T* child(const LnChartMenuViewController& menu, const QString& name)
    {
        T* found = menu.findChild<T*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }
    /// Clicks segment `segment` of the segmented control called `name`.
    static void clickSegment(const LnChartMenuViewController& menu, const QString& name, int segment)
    {
        auto* control = child<SegmentedControl>(menu, name);
        control->findChild<QToolButton*>(QStringLiteral("segment%1").arg(segment))->click();
    }

    std::shared_ptr<MVX_Model> model;
    std::map<QString, QList<Post>> posts;

private:
    std::unique_ptr<QObject> m_context = std::make_unique<QObject>();
};

} // namespace mervane::test
