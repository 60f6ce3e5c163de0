#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QTextDocument>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTableView>
#include <QTreeView>
#include <QWidget>

#include <cmath>
#include <map>

#include "gui/common/ChartLegend.h"

// Finds what a user cannot read in a window as it is shown now: texts cut
// off or elided, controls clipped by their parent or drawn over each other,
// list cells and headers too narrow, chart texts elided ("…", "...", a
// rotated "⋮"), drawn over each other or outside the chart, repeated tick
// labels on one axis, pie legends that leave out a slice. Each fault is one
// line naming the widget, so a failing test says what to look at.
namespace textfit {

using namespace Qt::StringLiterals;

inline QString Name(const QObject* object) {
  QStringList path;
  for (const QObject* o = object; o; o = o->parent()) {
    if (!o->objectName().isEmpty()) path.prepend(o->objectName());
    if (o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow()) break;
  }
  return path.join(u'/');
}

inline bool Elided(const QString& text) {
  return text.contains(u'…') || text.contains(QStringLiteral("...")) || text.contains(u'⋮');
}

// What a widget needs across to show its text whole.
inline int NeededWidth(const QWidget* widget) {
  const QFontMetrics metrics(widget->font());
  if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
    const QStyle* style = box->style();
    return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
           style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) +
           metrics.horizontalAdvance(QString(box->text()).remove(u'&'));
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    return metrics.horizontalAdvance(QString(button->text()).remove(u'&')) + 8;
  }
  if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    if (label->metaObject() != &QLabel::staticMetaObject) return label->text().isEmpty() ? 0 : label->sizeHint().width();
    if (label->wordWrap() || label->textFormat() == Qt::RichText || label->text().startsWith(u'<')) return 0;
    int width = 0;
    for (const QString& line : label->text().split(u'\n')) width = std::max(width, metrics.horizontalAdvance(line));
    const QMargins m = label->contentsMargins();
    return width + m.left() + m.right() + 2 * label->frameWidth() + 2 * label->margin();
  }
  return 0;
}

inline int NeededHeight(const QLabel* label) {
  if (label->text().isEmpty() || label->wordWrap()) return 0;
  const auto lines = label->text().count(u'\n') + 1;
  const QFontMetrics metrics(label->font());
  // The last line needs its glyphs' height only, not the room below them
  // (the CJK fonts' descent leaves a pixel or two unused).
  const int plain = static_cast<int>(lines - 1) * metrics.lineSpacing() + metrics.ascent() +
                    2 * label->frameWidth() + 2 * label->margin();
  // A label that draws its lines itself says in its size hint what it needs.
  if (label->metaObject() != &QLabel::staticMetaObject) return std::min(plain, label->sizeHint().height());
  return plain;
}

// Where the widget's text is drawn, in its parent's coordinates.
inline QRect InkRect(const QWidget* widget) {
  const int needed = NeededWidth(widget);
  QRect ink = widget->geometry();
  // A push button's frame is part of what must show; a label's or a check
  // box's spare room is not.
  if (needed <= 0 || !(qobject_cast<const QLabel*>(widget) || qobject_cast<const QCheckBox*>(widget))) return ink;
  if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    if (label->alignment() & Qt::AlignHCenter) {
      ink.adjust((ink.width() - needed) / 2, 0, 0, 0);
    } else if (label->alignment() & Qt::AlignRight) {
      ink.setLeft(ink.right() - needed + 1);
    }
  }
  ink.setWidth(std::min(ink.width(), needed));
  return ink;
}

inline QRect GroupTitleRect(const QGroupBox* box) {
  QStyleOptionGroupBox option;
  option.initFrom(box);
  option.text = box->title();
  option.lineWidth = 1;
  option.textAlignment = box->alignment();
  option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
}

inline void CheckWidgetTexts(const QWidget* widget, QStringList& faults) {
  const QString name = Name(widget);
  const int needed = NeededWidth(widget);
  if (needed > widget->width()) {
    faults << u"%1: text needs %2 px, has %3"_s.arg(name).arg(needed).arg(widget->width());
  }
  if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    if (NeededHeight(label) > label->height()) {
      faults << u"%1: text needs %2 px high, has %3"_s.arg(name).arg(NeededHeight(label)).arg(label->height());
    }
    if (Elided(label->text())) faults << u"%1: elided text \"%2\""_s.arg(name, label->text());
  }
  if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
    const QRect title = GroupTitleRect(box);
    if (title.right() >= box->width()) faults << u"%1: group title cut off"_s.arg(name);
    // The children must stay below the caption and inside the frame.
    for (const QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!child->isVisible()) continue;
      const QRect ink = InkRect(child);
      if (ink.intersects(title)) faults << u"%1: drawn over the caption of %2"_s.arg(Name(child), name);
      if (ink.top() < title.center().y()) faults << u"%1: crosses the top frame of %2"_s.arg(Name(child), name);
    }
  }
  if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
    for (int i = 0; i < tabs->count(); ++i) {
      const int text = QFontMetrics(tabs->font()).horizontalAdvance(tabs->tabText(i));
      if (text > tabs->tabRect(i).width()) faults << u"%1: tab \"%2\" cut off"_s.arg(name, tabs->tabText(i));
    }
  }
}

// A list's column header: a tree's own, a table's horizontal one.
inline const QHeaderView* ColumnHeader(const QAbstractItemView* view) {
  if (const auto* tree = qobject_cast<const QTreeView*>(view)) return tree->header();
  if (const auto* table = qobject_cast<const QTableView*>(view)) return table->horizontalHeader();
  return nullptr;
}

inline void CheckList(const QAbstractItemView* view, QStringList& faults) {
  const QString name = Name(view);
  const QAbstractItemModel* model = view->model();
  const QHeaderView* header = ColumnHeader(view);
  if (!model || !header) return;
  const QFontMetrics headerMetrics(header->font());
  const int headerMargin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  const QFontMetrics cellMetrics(view->font());
  const int cellMargin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
  for (int column = 0; column < model->columnCount(); ++column) {
    const QString title = model->headerData(column, Qt::Horizontal).toString();
    if (headerMetrics.horizontalAdvance(title) + headerMargin > header->sectionSize(column)) {
      faults << u"%1: header \"%2\" cut off"_s.arg(name, title);
    }
    for (int row = 0; row < model->rowCount(); ++row) {
      const QModelIndex index = model->index(row, column);
      const QRect cell = view->visualRect(index);
      if (!cell.isValid() || !view->viewport()->rect().intersects(cell)) continue;
      const QString text = model->data(index).toString();
      if (cellMetrics.horizontalAdvance(text) + cellMargin > header->sectionSize(column)) {
        faults << u"%1: cell %2,%3 \"%4\" cut off"_s.arg(name).arg(row).arg(column).arg(text);
      }
    }
  }
  if (view->horizontalScrollBar()->isVisible()) faults << u"%1: columns wider than the list"_s.arg(name);
}

// The chart's texts as its scene draws them.
inline void CheckChart(const QChartView* view, QStringList& faults) {
  const QString name = Name(view);
  const QChart* chart = view->chart();
  if (!chart || !view->scene()) return;
  struct Text {
    QString text;
    QRectF rect;
    const QGraphicsItem* group;
  };
  std::vector<Text> texts;
  for (const QGraphicsItem* item : view->scene()->items()) {
    if (!item->isVisible() || item->opacity() == 0) continue;
    QString text;
    if (const auto* rich = dynamic_cast<const QGraphicsTextItem*>(item)) {
      text = rich->toPlainText();
    } else if (const auto* simple = dynamic_cast<const QGraphicsSimpleTextItem*>(item)) {
      text = simple->text();
    } else {
      continue;
    }
    if (text.isEmpty()) continue;
    // A text item's box holds a margin and the font's whole line; the
    // glyphs fill about one em of it, centred. Their box is what may not
    // overlap another (rotated titles: the same across).
    const QRectF box = item->sceneBoundingRect();
    const auto* rich = dynamic_cast<const QGraphicsTextItem*>(item);
    const QFont font = rich ? rich->font() : dynamic_cast<const QGraphicsSimpleTextItem*>(item)->font();
    const qreal em = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    const qreal margin = rich ? rich->document()->documentMargin() : 0;
    const bool across = std::fmod(std::abs(item->rotation()), 180.0) < 45;
    const qreal line = across ? box.height() : box.width();
    const qreal room = std::max(0.0, (line - em) / 2);
    const QRectF glyphs = across ? box.adjusted(margin, room, -margin, -room) : box.adjusted(room, margin, -room, -margin);
    texts.push_back({text, glyphs, item->parentItem()});
  }
  const QRectF chartRect = chart->geometry();
  std::map<const QGraphicsItem*, QStringList> groups;
  for (const Text& t : texts) {
    if (Elided(t.text)) faults << u"%1: chart text elided \"%2\""_s.arg(name, t.text);
    if (!chartRect.adjusted(-1, -1, 1, 1).contains(t.rect)) {
      faults << u"%1: chart text \"%2\" outside the chart"_s.arg(name, t.text);
    }
    groups[t.group] << t.text;
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      if (texts[i].rect.intersects(texts[j].rect)) {
        faults << u"%1: \"%2\" drawn over \"%3\""_s.arg(name, texts[i].text, texts[j].text);
      }
    }
  }
  // Tick labels share their axis' label group: none may repeat.
  for (const auto& [group, list] : groups) {
    if (!group || list.size() < 2) continue;
    if (QSet<QString>(list.begin(), list.end()).size() != list.size()) {
      faults << u"%1: repeated labels \"%2\""_s.arg(name, list.join(u' '));
    }
  }
  // A legend of our own shows its entries whole and inside the view.
  for (const auto* legend : view->findChildren<const orvel::ChartLegend*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (!legend->isVisible()) continue;
    const QRect needed(legend->pos(), legend->sizeHint());
    if (!legend->geometry().contains(needed) || !view->rect().contains(needed)) {
      faults << u"%1: legend %2 cut off"_s.arg(name, legend->objectName());
    }
  }
  // A pie's legend lists every slice, whole and inside the view.
  for (QAbstractSeries* series : chart->series()) {
    const auto* pie = qobject_cast<const QPieSeries*>(series);
    if (!pie) continue;
    QStringList slices;
    for (const QPieSlice* slice : pie->slices()) slices << slice->label();
    QStringList listed;
    if (chart->legend()->isVisible()) {
      for (const QLegendMarker* marker : chart->legend()->markers(series)) {
        if (marker->isVisible()) listed << marker->label();
      }
    } else if (const auto* legend = view->findChild<const orvel::ChartLegend*>(QString(), Qt::FindDirectChildrenOnly)) {
      for (const orvel::ChartLegend::Entry& entry : legend->entries()) listed << entry.label;
      const QRect needed(legend->pos(), legend->sizeHint());
      if (!legend->geometry().contains(needed) || !view->rect().contains(needed)) {
        faults << u"%1: legend cut off"_s.arg(name);
      }
      if (!slices.isEmpty() && legend->geometry().intersects(chart->plotArea().toRect().adjusted(0, 0, -1, -1))) {
        faults << u"%1: legend drawn over the pie"_s.arg(name);
      }
    }
    if (listed != slices) faults << u"%1: legend lists \"%2\", the pie \"%3\""_s.arg(name, listed.join(u' '), slices.join(u' '));
  }
}

// The rows of a list that are not wholly in view.
inline int HiddenRows(const QAbstractItemView* view) {
  int hidden = 0;
  const QAbstractItemModel* model = view->model();
  for (int row = 0; model && row < model->rowCount(); ++row) {
    if (!view->viewport()->rect().contains(view->visualRect(model->index(row, 0)))) ++hidden;
  }
  return hidden;
}

// Every fault of `window` as shown now; its hidden parts (other tab pages,
// hidden widgets) are not looked at.
inline QStringList Faults(QWidget& window) {
  QStringList faults;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisible()) continue;
    CheckWidgetTexts(widget, faults);
    // A control must lie inside its parent, or part of it is cut off.
    const QWidget* parent = widget->parentWidget();
    const bool control = qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
                         qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QChartView*>(widget);
    if (control && parent && !qobject_cast<const QAbstractScrollArea*>(parent->parentWidget())) {
      if (!parent->rect().contains(InkRect(widget))) faults << u"%1: cut off by its parent"_s.arg(Name(widget));
      // Texts of siblings may not run into each other.
      for (const QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (sibling == widget || !sibling->isVisible() || sibling < widget) continue;
        const bool textual = qobject_cast<const QLabel*>(sibling) || qobject_cast<const QAbstractButton*>(sibling);
        if (textual && !qobject_cast<const QChartView*>(widget) && InkRect(widget).intersects(InkRect(sibling))) {
          faults << u"%1 and %2 overlap"_s.arg(Name(widget), Name(sibling));
        }
      }
    }
    if (const auto* list = qobject_cast<const QAbstractItemView*>(widget)) CheckList(list, faults);
    if (const auto* chart = qobject_cast<const QChartView*>(widget)) CheckChart(chart, faults);
  }
  faults.removeDuplicates();
  return faults;
}

}  // namespace textfit
