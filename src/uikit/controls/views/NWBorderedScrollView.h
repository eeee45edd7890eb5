#pragma once

#include <QScrollArea>

/// A plain scroll area under the name the screens use.
class NWBorderedScrollView : public QScrollArea {
    Q_OBJECT
public:
    using QScrollArea::QScrollArea;
};
