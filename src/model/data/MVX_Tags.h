#pragma once

#include "model/mapping/MAPModel.h"

#include <QString>
#include <QVariantMap>

/// A tag. `hexColorString` holds a colour NAME of the store's tag colour table
/// ("BLUE", "RED", ...), not a hexadecimal value.
class MVX_Tags : public MAPModelSubclass<MVX_Tags> {
    Q_GADGET
    Q_PROPERTY(QString ID READ ID WRITE setID)
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(QString desc READ desc WRITE setDesc)
    Q_PROPERTY(QString hexColorString READ hexColorString WRITE setHexColorString)

public:
    MVX_Tags();
    /// Property key to JSON key, for the mapping layer.
    static QVariantMap JSONKeyPathsByPropertyKey();

    const QString& ID() const { return m_ID; }
    void setID(const QString& ID) { m_ID = ID; }
    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const QString& desc() const { return m_desc; }
    void setDesc(const QString& desc) { m_desc = desc; }
    const QString& hexColorString() const { return m_hexColorString; }
    void setHexColorString(const QString& colorName) { m_hexColorString = colorName; }

    /// Field by field.
    bool operator==(const MVX_Tags& other) const;

private:
    QString m_ID;
    QString m_name;
    QString m_desc;
    QString m_hexColorString;
};
