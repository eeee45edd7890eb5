#pragma once

#include <QImage>
#include <QString>
#include <QVariant>

/// One entry of the generic selection list.
class GenericSelectionRecord {
public:
    /// The base-currency list puts the currency code here.
    const QString& ID() const { return m_ID; }
    void setID(const QString& ID) { m_ID = ID; }
    /// The first line.
    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    /// The second line.
    const QString& subtitle() const { return m_subtitle; }
    void setSubtitle(const QString& subtitle) { m_subtitle = subtitle; }
    const QImage& image() const { return m_image; }
    void setImage(const QImage& image) { m_image = image; }
    bool isSelected() const { return m_isSelected; }
    void setIsSelected(bool selected) { m_isSelected = selected; }
    /// The item the entry stands for, handed back when the entry is picked.
    const QVariant& obj() const { return m_obj; }
    void setObj(const QVariant& obj) { m_obj = obj; }
    /// Text shown in place of the image (a currency's flag).
    const QString& emoji() const { return m_emoji; }
    void setEmoji(const QString& emoji) { m_emoji = emoji; }

private:
    QString m_ID;
    QString m_name;
    QString m_subtitle;
    QImage m_image;
    bool m_isSelected = false;
    QVariant m_obj;
    QString m_emoji;
};
