#pragma once

#include "platform/Expected.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class QTemporaryDir;

/// Told when something was dropped on an avatar view.
class AvatarDragDropImageViewDelegate {
public:
    virtual ~AvatarDragDropImageViewDelegate() = default;
    /// The local path of the dropped file, or a null string when no file was dropped.
    virtual void dropComplete(const QString& path) { Q_UNUSED(path) }
};

/// A round picture well: the image clipped to a rounded shape whose corner radius is
/// half the view's width, with an optional border. It accepts dropped images and files
/// (a file shows its thumbnail or, failing that, its icon), can be dragged out as a PNG
/// file, and emits clicked() on a click released inside it.
class DVAvatarImageView : public QWidget {
    Q_OBJECT
public:
    explicit DVAvatarImageView(QWidget* parent = nullptr);
    ~DVAvatarImageView() override;

    bool allowDrag() const { return m_allowDrag; }
    void setAllowDrag(bool allow) { m_allowDrag = allow; }
    bool allowDrop() const { return m_allowDrop; }
    void setAllowDrop(bool allow);
    /// Not owned.
    AvatarDragDropImageViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(AvatarDragDropImageViewDelegate* delegate) { m_delegate = delegate; }

    /// What the view shows; replaced by every set and by drops.
    QImage image() const { return m_image; }
    void setImage(const QImage& image);
    /// The image last given to setAVImage (null when cleared).
    QImage avImage() const { return m_avImage; }
    /// Shows `image`, or the resource image "EmptyImage" when it is null; `clear`
    /// forgets the image as avImage.
    void setAVImage(const QImage& image, bool clear);

    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    float borderWidth() const { return m_borderWidth; }
    /// Clamped to 0..`platform::maximumGeometry`; NaN is 0.
    void setBorderWidth(float width);
    /// A droppable image is being dragged over the view.
    bool isHighlighted() const { return m_highlight; }

    /// Writes the image as PNG into `folder` under the first free name of "Avatar.png",
    /// "Avatar 2.png", ...; never replaces a file. Returns the names written (one), or why
    /// nothing was written (no image, `folder` empty, relative or not a folder, or the file
    /// could not be written).
    platform::Expected<QStringList> namesOfPromisedFilesDroppedAtDestination(const QString& folder) const;
    /// The first name of "Avatar.png", "Avatar 2.png", ... that `folder` does not hold.
    static QString freeAvatarFileName(const QString& folder);
    /// The image a dropped file shows: its thumbnail (at most 100 x 140) when it is an
    /// image, else its icon at 128 x 128.
    static QImage imageForDroppedFile(const QString& path);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void startDragOut();
    void setHighlight(bool highlight);

    bool m_allowDrag = false;
    bool m_allowDrop = false;
    bool m_highlight = false;
    bool m_dragging = false;
    AvatarDragDropImageViewDelegate* m_delegate = nullptr;
    QImage m_image;
    QImage m_avImage;
    QColor m_borderColor;
    float m_borderWidth = 0.0f;
    QPoint m_pressPosition;
    bool m_pressed = false;
    // The file offered by the last drag out; kept until the next drag or the view goes.
    std::unique_ptr<QTemporaryDir> m_staging;
};
