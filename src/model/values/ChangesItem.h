#pragma once

/// The changes of one chart point against the point before it: amounts and per cent.
class ChangesItem {
public:
    double valueNW() const { return m_valueNW; }
    void setValueNW(double value) { m_valueNW = value; }
    double valueA() const { return m_valueA; }
    void setValueA(double value) { m_valueA = value; }
    double valueL() const { return m_valueL; }
    void setValueL(double value) { m_valueL = value; }
    double pNW() const { return m_pNW; }
    void setPNW(double percent) { m_pNW = percent; }
    double pA() const { return m_pA; }
    void setPA(double percent) { m_pA = percent; }
    double pL() const { return m_pL; }
    void setPL(double percent) { m_pL = percent; }

    bool operator==(const ChangesItem&) const = default;

private:
    double m_valueNW = 0;
    double m_valueA = 0;
    double m_valueL = 0;
    double m_pNW = 0;
    double m_pA = 0;
    double m_pL = 0;
};
