#pragma once

#include <QString>

/// A tag. `hexColorString` holds a colour NAME of the store's tag colour table
/// ("BLUE", "RED", ...), not a hexadecimal value.
class MVX_Tags {
public:
    const QString& ID() const { return m_ID; }
    void setID(const QString& ID) { m_ID = ID; }
    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const QString& desc() const { return m_desc; }
    void setDesc(const QString& desc) { m_desc = desc; }
    const QString& hexColorString() const { return m_hexColorString; }
    void setHexColorString(const QString& colorName) { m_hexColorString = colorName; }

    bool operator==(const MVX_Tags&) const = default;

private:
    QString m_ID;
    QString m_name;
    QString m_desc;
    QString m_hexColorString;
};
