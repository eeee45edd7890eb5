#include "uikit/controls/avatar/DVAvatarImageView.h"

#include "uikit/controls/KitDrawing.h"

#include "platform/Resources.h"
#include "platform/SaneGeometry.h"
#include "platform/Strings.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

bool carriesImage(const QMimeData* mime)
{
    if (mime->hasImage())
        return true;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            return true;
    }
    return false;
}

QString droppedPath(const QMimeData* mime)
{
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

DVAvatarImageView::DVAvatarImageView(QWidget* parent) : QWidget(parent)
{
}

DVAvatarImageView::~DVAvatarImageView() = default;

void DVAvatarImageView::setAllowDrop(bool allow)
{
    m_allowDrop = allow;
    setAcceptDrops(allow);
}

void DVAvatarImageView::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void DVAvatarImageView::setAVImage(const QImage& image, bool clear)
{
    m_avImage = clear ? QImage() : image;
    setImage(image.isNull() ? platform::image(u"EmptyImage"_s, size()) : image);
}

void DVAvatarImageView::setBorderColor(const QColor& color)
{
    m_borderColor = color;
    update();
}

void DVAvatarImageView::setBorderWidth(float width)
{
    m_borderWidth = float(platform::saneLength(width));
    update();
}

void DVAvatarImageView::setHighlight(bool highlight)
{
    if (highlight == m_highlight)
        return;
    m_highlight = highlight;
    update();
}

void DVAvatarImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds(rect());
    const qreal radius = bounds.width() / 2;
    QPainterPath shape;
    shape.addRoundedRect(bounds, radius, radius);
    if (!m_image.isNull()) {
        painter.save();
        painter.setClipPath(shape);
        // Scaled to fit, centred, keeping the image's proportions.
        const QSizeF fitted = QSizeF(m_image.size()).scaled(bounds.size(), Qt::KeepAspectRatio);
        const QRectF target(bounds.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
        painter.drawImage(target, m_image);
        painter.restore();
    }
    if (m_borderWidth > 0 && m_borderColor.isValid()) {
        // The border lies inside the rounded shape, like a layer border.
        const qreal inset = m_borderWidth / 2.0;
        QPainterPath border;
        const QRectF inner = bounds.adjusted(inset, inset, -inset, -inset);
        border.addRoundedRect(inner, std::max<qreal>(0, radius - inset), std::max<qreal>(0, radius - inset));
        painter.strokePath(border, QPen(m_borderColor, m_borderWidth));
    }
    if (m_highlight)
        painter.strokePath(shape, QPen(KitDrawing::systemGray(), 5));
}

QString DVAvatarImageView::freeAvatarFileName(const QString& folder)
{
    const QDir dir(folder);
    QString name = u"Avatar.png"_s;
    for (int number = 2; QFileInfo::exists(dir.filePath(name)); ++number)
        name = u"Avatar %1.png"_s.arg(number);
    return name;
}

platform::Expected<QStringList> DVAvatarImageView::namesOfPromisedFilesDroppedAtDestination(
    const QString& folder) const
{
    const auto fail = [](const QString& why) { return platform::Unexpected(why); };
    // An empty or relative folder would resolve against the working folder.
    const QFileInfo destination(folder);
    if (folder.isEmpty() || destination.isRelative() || !destination.isDir())
        return fail(platform::Strings::tr("The destination is not a folder."));
    if (m_image.isNull())
        return fail(platform::Strings::tr("There is no image to save."));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!m_image.save(&buffer, "PNG"))
        return fail(platform::Strings::tr("The image could not be encoded."));

    const QDir dir(folder);
    // NewOnly claims the name atomically: a file that appears meanwhile is never replaced.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString name = freeAvatarFileName(folder);
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(file.fileName()))
                continue;
            return fail(file.errorString());
        }
        if (file.write(png) != png.size() || !file.flush()) {
            const QString why = file.errorString();
            file.close();
            file.remove();
            return fail(why);
        }
        file.close();
        return QStringList { name };
    }
    return fail(platform::Strings::tr("No free file name was found."));
}

QImage DVAvatarImageView::imageForDroppedFile(const QString& path)
{
    QImageReader reader(path);
    if (reader.canRead()) {
        const QSize natural = reader.size();
        if (natural.isValid())
            reader.setScaledSize(natural.scaled(QSize(100, 140), Qt::KeepAspectRatio).boundedTo(natural));
        const QImage thumbnail = reader.read();
        if (!thumbnail.isNull())
            return thumbnail;
    }
    const QIcon icon = QFileIconProvider().icon(QFileInfo(path));
    return icon.pixmap(QSize(128, 128))
        .toImage()
        .scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void DVAvatarImageView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_allowDrop) {
        event->ignore();
        return;
    }
    if (carriesImage(event->mimeData()) && (event->possibleActions() & Qt::CopyAction))
        setHighlight(true);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DVAvatarImageView::dragLeaveEvent(QDragLeaveEvent*)
{
    setHighlight(false);
}

void DVAvatarImageView::dropEvent(QDropEvent* event)
{
    setHighlight(false);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (event->source() == this)
        return;
    const QMimeData* mime = event->mimeData();
    const QString path = droppedPath(mime);
    if (mime->hasImage())
        setImage(qvariant_cast<QImage>(mime->imageData()));
    else if (!path.isEmpty())
        setImage(imageForDroppedFile(path));
    if (m_delegate)
        m_delegate->dropComplete(path);
}

void DVAvatarImageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_pressPosition = event->position().toPoint();
    }
    QWidget::mousePressEvent(event);
}

void DVAvatarImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressed && m_allowDrag && !m_dragging && !m_image.isNull()
        && (event->position().toPoint() - m_pressPosition).manhattanLength()
            >= QApplication::startDragDistance()) {
        m_pressed = false;
        startDragOut();
    }
    QWidget::mouseMoveEvent(event);
}

void DVAvatarImageView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (wasPressed && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void DVAvatarImageView::startDragOut()
{
    // Drop targets on this desktop take files, not promises: the PNG is written to a
    // private folder first and offered as a file, and as image data for other programs.
    m_staging = std::make_unique<QTemporaryDir>();
    const QStringList names = m_staging->isValid()
        ? namesOfPromisedFilesDroppedAtDestination(m_staging->path()).valueOr(QStringList())
        : QStringList();
    auto* mime = new QMimeData;
    mime->setImageData(m_image);
    if (!names.isEmpty())
        mime->setUrls({ QUrl::fromLocalFile(QDir(m_staging->path()).filePath(names.first())) });

    QImage faded(size(), QImage::Format_ARGB32_Premultiplied);
    faded.fill(Qt::transparent);
    {
        QPainter painter(&faded);
        painter.setOpacity(0.5);
        painter.drawImage(QRect(QPoint(), size()), m_image);
    }
    QDrag drag(this);
    drag.setMimeData(mime);
    drag.setPixmap(QPixmap::fromImage(faded));
    drag.setHotSpot(QPoint(width() / 2, height() / 2));
    m_dragging = true;
    drag.exec(Qt::CopyAction);
    m_dragging = false;
}
