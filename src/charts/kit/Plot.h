#pragma once

#include "charts/kit/PlotDataSource.h"
#include "charts/kit/PlotRange.h"

#include <QGraphicsItem>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <optional>

class QAbstractAnimation;

namespace chart {

class Graph;
class PlotDataSource;
class PlotDelegate;
class PlotSpace;
class Plot;

// The item of our own that draws a plot's elements in its graph's scene, spread over the whole
// graph. Made by its plot when the plot is added to a graph and deleted when it leaves.
class PlotItem : public QGraphicsItem {
public:
    PlotItem(const Plot* plot, qreal z);
    QRectF boundingRect() const override;
    // The graph's size or the plot space's ranges changed.
    virtual void boundsChanged();

private:
    const Plot* m_owner;
};

// What every plot shares: identifier, data source, delegate, visibility and opacity. A plot is
// owned by the graph it is added to. Its records are pulled from the data source when it is
// added and on every reload; a count beyond 10 000 is cut to it, a negative one is none.
class Plot : public QObject {
    Q_OBJECT
    Q_PROPERTY(qreal opacity READ opacity WRITE setOpacity)
public:
    enum class Coordinate { X, Y };

    explicit Plot(QObject* parent = nullptr);
    ~Plot() override;

    QString identifier() const { return m_identifier; }
    void setIdentifier(const QString& identifier) { m_identifier = identifier; }
    PlotDataSource* dataSource() const { return m_dataSource; }
    void setDataSource(PlotDataSource* dataSource); // not owned; reloads when on a graph
    PlotDelegate* delegate() const { return m_delegate; }
    void setDelegate(PlotDelegate* delegate) { m_delegate = delegate; }

    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity);
    // Animates the opacity from `from` to `to`; the plot keeps `to` afterwards.
    void fadeIn(qreal from, qreal to, int durationMs);

    Graph* graph() const { return m_graph; }
    PlotSpace* plotSpace() const { return m_plotSpace; }

    // Asks the data source again and redraws.
    virtual void reloadData() = 0;
    // The records drawn from the last reload.
    virtual int numberOfRecords() const = 0;
    // The extent of the finite data along a coordinate; none without such data.
    virtual std::optional<PlotRange> plotRangeForCoordinate(Coordinate coordinate) const;

    // The record whose element lies under `graphPoint` (graph coordinates), or -1.
    virtual int recordIndexAtGraphPoint(const QPointF& graphPoint) const;
    // Tells the delegate that the record was clicked, or pressed on; a record the plot does
    // not hold is not told.
    virtual void recordWasSelected(int recordIndex);
    virtual void recordTouchDown(int recordIndex);

protected:
    friend class Graph;
    // Creates the plot's series and item in the graph's scene / removes them.
    virtual void attachToGraph(Graph* graph, PlotSpace* space);
    virtual void detachFromGraph();
    // The plot's item, made once for each graph it is added to.
    virtual PlotItem* createItem() = 0;
    PlotItem* item() const { return m_item; }
    // The graph's size or the plot space's ranges changed.
    virtual void layoutChanged();
    // Visibility or opacity changed.
    virtual void applyAppearance();

    bool isRecordIndex(int recordIndex) const;
    // For destructors: takes the plot out of its graph's list and off its scene.
    void leaveGraphWhenDeleted();
    // The data source's number as a finite double, or none.
    std::optional<double> finiteNumber(int field, int recordIndex);
    int recordCountFromDataSource();
    // The data source's label, its text cut to the label length.
    std::optional<DataLabel> dataLabelFromDataSource(int recordIndex);

private:
    QString m_identifier;
    PlotDataSource* m_dataSource = nullptr;
    PlotDelegate* m_delegate = nullptr;
    bool m_hidden = false;
    qreal m_opacity = 1.0;
    Graph* m_graph = nullptr;
    PlotSpace* m_plotSpace = nullptr;
    PlotItem* m_item = nullptr;
    QPointer<QAbstractAnimation> m_fade;
};

} // namespace chart
