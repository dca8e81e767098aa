#include "game/launcher/ReplayListWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

#include "game/launcher/WindowParts.h"

namespace quorvex {

namespace {

enum Column { kDate, kPlayer1, kPlayer2, kResult, kLength, kColumns };

QTreeWidgetItem* Row(const ReplayListEntry& e) {
  auto* item = new QTreeWidgetItem;
  item->setText(kDate, QString::fromStdString(e.date));
  item->setData(kDate, Qt::UserRole, QString::fromStdString(e.file.string()));
  if (!e.problem.empty()) {
    // Shown, so the player knows it is there, but it cannot be chosen.
    item->setText(kPlayer1, QString::fromStdString(e.problem));
    item->setText(kResult, "damaged");
    item->setToolTip(kPlayer1, QString::fromStdString(e.file.filename().string() + " " + e.problem));
    item->setFlags(item->flags() & ~Qt::ItemIsEnabled & ~Qt::ItemIsSelectable);
    return item;
  }
  item->setText(kPlayer1, QString::fromStdString(e.player1));
  item->setText(kPlayer2, QString::fromStdString(e.player2));
  item->setText(kResult, QString::fromStdString(e.outcome));
  item->setText(kLength, QString::fromStdString(e.length));
  item->setTextAlignment(kLength, Qt::AlignRight | Qt::AlignVCenter);
  for (int c = 0; c < kColumns; ++c) item->setToolTip(c, QString::fromStdString(e.file.filename().string()));
  item->setToolTip(kPlayer1, QString::fromStdString(e.player1));
  item->setToolTip(kPlayer2, QString::fromStdString(e.player2));
  return item;
}

}  // namespace

QWidget* OpenReplayListWindow(QWidget* owner, const std::vector<ReplayListEntry>& entries,
                              const std::function<void(const std::filesystem::path&)>& watch) {
  QWidget* window = MakeSettingsWindow(owner, "ReplayList", "Recorded battles");
  auto* layout = new QVBoxLayout(window);
  auto* list = new QTreeWidget(window);
  list->setObjectName("Replays");
  list->setColumnCount(kColumns);
  list->setHeaderLabels({"Date", "Player 1", "Player 2", "Result", "Length"});
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const ReplayListEntry& e : entries) list->addTopLevelItem(Row(e));
  // Long armadas share the width left; their whole list shows as a tooltip.
  list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list->header()->setSectionResizeMode(kPlayer1, QHeaderView::Stretch);
  list->header()->setSectionResizeMode(kPlayer2, QHeaderView::Stretch);
  list->setTextElideMode(Qt::ElideRight);
  list->setMinimumSize(760, 320);
  auto* none = new QLabel("No battle has been recorded yet.", window);
  none->setObjectName("NoReplays");
  none->setVisible(entries.empty());
  QPushButton* play = MakeButton(window, "Watch", "Watch");
  play->setEnabled(false);
  layout->addWidget(none);
  layout->addWidget(list);
  layout->addWidget(play);

  auto chosen = [list]() -> std::filesystem::path {
    const QTreeWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected() || !(item->flags() & Qt::ItemIsEnabled)) return {};
    return item->data(kDate, Qt::UserRole).toString().toStdString();
  };
  auto start = [chosen, watch] {
    const std::filesystem::path file = chosen();
    if (!file.empty() && watch) watch(file);
  };
  auto update = [play, chosen] { play->setEnabled(!chosen().empty()); };
  QObject::connect(list, &QTreeWidget::itemSelectionChanged, play, update);
  QObject::connect(list, &QTreeWidget::currentItemChanged, play, update);
  // The newest replay that can be watched is chosen to begin with.
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list->topLevelItem(i);
    if (!(item->flags() & Qt::ItemIsEnabled)) continue;
    list->setCurrentItem(item);
    break;
  }
  QObject::connect(list, &QTreeWidget::itemDoubleClicked, window, start);
  QObject::connect(play, &QPushButton::clicked, window, start);
  ShowBesideOwner(window);
  return window;
}

}  // namespace quorvex
