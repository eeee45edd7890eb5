#include "uikit/controls/avatar/DVAvatarImageView.h"

#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

struct AvatarDelegate : AvatarDragDropImageViewDelegate {
    QStringList paths;
    int calls = 0;
    void dropComplete(const QString& path) override
    {
        ++calls;
        paths.append(path);
    }
};

QImage solid(QColor color, QSize size = { 40, 40 })
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

void drop(DVAvatarImageView& view, QMimeData& mime)
{
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(&view, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(&view, &event);
}

class AvatarTest : public mervane::test::TempHomeTest { };

TEST_F(AvatarTest, DragOutWritesFreeNamesAndNeverReplaces)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile existing(folder.filePath(u"Avatar.png"_s));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("original");
    existing.close();

    DVAvatarImageView view;
    view.setImage(solid(Qt::red));
    EXPECT_EQ(view.namesOfPromisedFilesDroppedAtDestination(folder.path()).valueOr(QStringList()),
        QStringList { u"Avatar 2.png"_s });
    EXPECT_EQ(view.namesOfPromisedFilesDroppedAtDestination(folder.path()).valueOr(QStringList()),
        QStringList { u"Avatar 3.png"_s });

    QFile original(folder.filePath(u"Avatar.png"_s));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), QByteArray("original"));
    const QImage written(folder.filePath(u"Avatar 2.png"_s), "PNG");
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.pixelColor(5, 5), QColor(Qt::red));

    DVAvatarImageView empty;
    const auto nothing = empty.namesOfPromisedFilesDroppedAtDestination(folder.path());
    ASSERT_FALSE(nothing);
    EXPECT_EQ(nothing.error(), u"There is no image to save."_s);
    const auto unwritable
        = view.namesOfPromisedFilesDroppedAtDestination(folder.filePath(u"missing/deeper"_s));
    ASSERT_FALSE(unwritable);
    EXPECT_FALSE(unwritable.error().isEmpty());
}

TEST_F(AvatarTest, DroppingAPngShowsItAndAnotherFileShowsItsIcon)
{
    QTemporaryDir folder;
    const QString png = folder.filePath(u"photo.png"_s);
    ASSERT_TRUE(solid(Qt::blue, { 300, 200 }).save(png));
    const QString text = folder.filePath(u"notes.txt"_s);
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello");
    file.close();

    DVAvatarImageView view;
    view.resize(64, 64);
    AvatarDelegate delegate;
    view.setDelegate(&delegate);

    QMimeData pngDrop;
    pngDrop.setUrls({ QUrl::fromLocalFile(png) });
    drop(view, pngDrop);
    EXPECT_TRUE(view.image().isNull()); // drops are off for a view made in code
    EXPECT_EQ(delegate.calls, 0);

    view.setAllowDrop(true);
    drop(view, pngDrop);
    ASSERT_FALSE(view.image().isNull());
    EXPECT_LE(view.image().width(), 100);
    EXPECT_LE(view.image().height(), 140);
    EXPECT_EQ(view.image().pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(view.grab().toImage().pixelColor(32, 32), QColor(Qt::blue));
    EXPECT_EQ(delegate.paths, QStringList { png });
    EXPECT_FALSE(view.isHighlighted());

    QMimeData textDrop;
    textDrop.setUrls({ QUrl::fromLocalFile(text) });
    drop(view, textDrop);
    EXPECT_EQ(view.image().size(), QSize(128, 128));
    EXPECT_EQ(delegate.paths.last(), text);

    QMimeData imageDrop;
    imageDrop.setImageData(solid(Qt::green));
    drop(view, imageDrop);
    EXPECT_EQ(view.image().pixelColor(1, 1), QColor(Qt::green));
    EXPECT_TRUE(delegate.paths.last().isNull());
}

TEST_F(AvatarTest, OneImageLayerRoundClipEmptyImageAndClicks)
{
    DVAvatarImageView view;
    view.resize(60, 60);
    view.setAVImage(solid(Qt::red), false);
    EXPECT_EQ(view.avImage().pixelColor(0, 0), QColor(Qt::red));
    view.setAVImage(solid(Qt::green), true);
    EXPECT_TRUE(view.avImage().isNull());
    QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.pixelColor(30, 30), QColor(Qt::green)); // the newest image, not a stack
    EXPECT_NE(shown.pixelColor(1, 1), QColor(Qt::green)); // the corner lies outside the circle

    view.setAVImage(QImage(), false);
    EXPECT_FALSE(view.image().isNull()); // "EmptyImage"
    EXPECT_NE(view.grab().toImage().pixelColor(30, 30), QColor(Qt::green));

    view.setBorderColor(Qt::red);
    view.setBorderWidth(4);
    EXPECT_EQ(view.grab().toImage().pixelColor(30, 1), QColor(Qt::red));

    QSignalSpy clicks(&view, &DVAvatarImageView::clicked);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(90, 30)); // released outside
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
