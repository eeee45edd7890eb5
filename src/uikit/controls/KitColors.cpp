#include "uikit/controls/KitColors.h"

#include "platform/Appearance.h"
#include "platform/Resources.h"

#include <QEvent>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace KitColors {

namespace {

const QString kBindingName = u"kitColorsBinding"_s;
constexpr QPalette::ColorRole kTextRoles[] = { QPalette::WindowText, QPalette::ButtonText, QPalette::Text };

// Keeps a widget's rules and applies them again whenever the widget's palette changes: an
// appearance switch changes the palette it inherits, and with it the colours worked out.
class Binding : public QObject {
public:
    explicit Binding(QWidget* widget) : QObject(widget), m_widget(widget)
    {
        setObjectName(kBindingName);
        widget->installEventFilter(this);
    }

    static Binding* of(const QWidget* widget)
    {
        // Only this file makes children of this name.
        return static_cast<Binding*>(widget->findChild<QObject*>(kBindingName, Qt::FindDirectChildrenOnly));
    }
    static Binding* make(QWidget* widget)
    {
        Binding* binding = of(widget);
        return binding ? binding : new Binding(widget);
    }

    void setRule(QPalette::ColorRole role, PaletteColor color, QList<QPalette::ColorGroup> groups)
    {
        m_rules.removeIf([role](const Rule& rule) { return rule.role == role; });
        m_rules.append(Rule { role, std::move(groups), std::move(color) });
        apply();
    }

    bool greyed() const { return m_greyed; }
    void setGreyed(bool greyed)
    {
        if (greyed == m_greyed)
            return;
        m_greyed = greyed;
        if (!greyed)
            releaseGreyedRoles();
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_widget && event->type() == QEvent::PaletteChange && !m_applying)
            apply();
        return false;
    }

private:
    struct Rule {
        QPalette::ColorRole role;
        QList<QPalette::ColorGroup> groups;
        PaletteColor color;
    };

    void apply()
    {
        const QPalette current = m_widget->palette();
        QPalette palette = current;
        for (const Rule& rule : std::as_const(m_rules)) {
            const QColor color = rule.color(current);
            for (const QPalette::ColorGroup group : rule.groups)
                palette.setColor(group, rule.role, color);
        }
        if (m_greyed) {
            for (const QPalette::ColorRole role : kTextRoles) {
                const QColor disabled = current.color(QPalette::Disabled, role);
                for (const auto group : { QPalette::Active, QPalette::Inactive })
                    palette.setColor(group, role, disabled);
            }
        }
        if (palette == current && palette.resolveMask() == current.resolveMask())
            return;
        const QPointer<QWidget> guard(m_widget);
        m_applying = true;
        m_widget->setPalette(palette);
        if (guard)
            m_applying = false;
    }

    // The text roles go back to what the widget inherits, unless a rule of its own sets them.
    void releaseGreyedRoles()
    {
        const QPalette own = m_widget->palette();
        QPalette kept;
        for (int g = 0; g < QPalette::NColorGroups; ++g) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            for (int r = 0; r < QPalette::NColorRoles; ++r) {
                const auto role = static_cast<QPalette::ColorRole>(r);
                const bool released = (group == QPalette::Active || group == QPalette::Inactive)
                    && std::find(std::begin(kTextRoles), std::end(kTextRoles), role) != std::end(kTextRoles);
                if (own.isBrushSet(group, role) && !released)
                    kept.setBrush(group, role, own.brush(group, role));
            }
        }
        const QPointer<QWidget> guard(m_widget);
        m_applying = true;
        m_widget->setPalette(kept);
        if (guard)
            m_applying = false;
    }

    QWidget* m_widget;
    QList<Rule> m_rules;
    bool m_greyed = false;
    bool m_applying = false;
};

} // namespace

void setColor(QWidget* widget, QPalette::ColorRole role, PaletteColor color,
    std::initializer_list<QPalette::ColorGroup> groups)
{
    Binding::make(widget)->setRule(role, std::move(color), QList<QPalette::ColorGroup>(groups));
}

void setNamedColor(QWidget* widget, const QString& name, std::initializer_list<QPalette::ColorRole> roles,
    std::initializer_list<QPalette::ColorGroup> groups)
{
    for (const QPalette::ColorRole role : roles) {
        setColor(
            widget, role,
            [name](const QPalette& shownWith) {
                return platform::namedColor(name, platform::isDarkPalette(shownWith));
            },
            groups);
    }
}

void setGreyed(QWidget* widget, bool greyed)
{
    if (Binding* binding = greyed ? Binding::make(widget) : Binding::of(widget))
        binding->setGreyed(greyed);
}

bool isGreyed(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (const Binding* binding = Binding::of(widget); binding && binding->greyed())
            return true;
    }
    return false;
}

} // namespace KitColors
