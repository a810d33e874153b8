// The main window's widgets: toolbar, menus, range bar, active-base box,
// pages, server panel, status panel and logo.
#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/fshk1.h"
#include "app/logo_widget.h"
#include "app/product_grid.h"
#include "app/repaint_pacer.h"
#include "app/status_panel.h"

namespace zel {
namespace {

constexpr QSize kWindowSize{860, 640};

QTableWidget* TapeTable(QWidget* parent, const QStringList& headings) {
  auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
  table->setHorizontalHeaderLabels(headings);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setWordWrap(false);  // a name stays on one line
  table->resizeColumnsToContents();
  return table;
}

// Qt's own disabled mode only greys the colours, so the black glyphs (list,
// preview, exit) look the same whether usable or not: fade them as well.
QIcon WithFadedDisabledMode(const QIcon& source) {
  QIcon icon;
  QList<QSize> sizes = source.availableSizes();
  for (const QSize& extra : {QSize(16, 16), QSize(24, 24), QSize(32, 32)}) {
    if (!sizes.contains(extra)) sizes.append(extra);
  }
  for (const QSize& size : sizes) {
    const QPixmap normal = source.pixmap(size);
    if (normal.isNull()) continue;
    QImage faded = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < faded.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
      for (int x = 0; x < faded.width(); ++x) {
        const int grey = 128 + qGray(line[x]) / 2;
        line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 2 / 5);
      }
    }
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(faded), QIcon::Disabled);
  }
  return icon;
}

QLineEdit* ReadOnlyField(QWidget* parent, int maxLength) {
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  if (maxLength > 0) field->setMaxLength(maxLength);
  return field;
}

}  // namespace

void TFSHK1::BuildActions() {
  toolbar_ = addToolBar(QStringLiteral("ToolBar1"));
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
  toolbar_->setIconSize(QSize(24, 24));
  for (const CommandInfo& info : CommandTable()) {
    const QIcon icon = WithFadedDisabledMode(style()->standardIcon(info.glyph));
    auto* item = new QAction(icon, QString::fromUtf8(info.caption), this);
    connect(item, &QAction::triggered, this, [this, c = info.command] { Run(c); });
    menuActions_[info.command] = item;
    if (!info.hint) continue;
    // A separate action: the toolbar is switched off while a changed range
    // waits for confirmation, the menus are not.
    auto* button = new QAction(icon, QString::fromUtf8(info.hint), this);
    button->setToolTip(QString::fromUtf8(info.hint));
    connect(button, &QAction::triggered, this, [this, c = info.command] { Run(c); });
    toolActions_[info.command] = button;
  }
  for (Command c : ToolbarCommands()) toolbar_->addAction(toolActions_.at(c));
  // With a glyph the menu shows no tick, only a hard-to-see sunken icon.
  menuActions_.at(Command::TapeReminder)->setIcon(QIcon());
  menuActions_.at(Command::TapeReminder)->setCheckable(true);
  menuActions_.at(Command::TapeReminder)->setChecked(true);
}

void TFSHK1::BuildMenus() {
  for (const MenuInfo& info : MenuTable()) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(info.title));
    for (const std::optional<Command>& item : info.items) {
      if (item) {
        menu->addAction(menuActions_.at(*item));
      } else {
        menu->addSeparator();
      }
    }
    menus_.push_back(menu);
  }
  // Attached to the window, but a right click does not open it.
  popup_ = new QMenu(this);
  QAction* exit = popup_->addAction(QStringLiteral("Выход"));
  connect(exit, &QAction::triggered, this, [this] { Run(Command::Exit); });
  setContextMenuPolicy(Qt::NoContextMenu);
}

QWidget* TFSHK1::BuildRangeBar() {
  rangePanel_ = new QGroupBox(this);
  edit11_ = new QLineEdit(rangePanel_);
  edit12_ = new QLineEdit(rangePanel_);
  for (QLineEdit* edit : {edit11_, edit12_}) {
    edit->setMaxLength(5);
    edit->setFixedWidth(64);
  }
  button3_ = new QPushButton(QStringLiteral("Изменить диапазон"), rangePanel_);
  blockKkm_ = new QCheckBox(QStringLiteral("Блокировка ККМ"), rangePanel_);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Диапазон базы с "), rangePanel_));
  row->addWidget(edit11_);
  row->addWidget(new QLabel(QStringLiteral("по"), rangePanel_));
  row->addWidget(edit12_);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(rangePanel_);
  layout->addLayout(row);
  layout->addWidget(button3_, 0, Qt::AlignLeft);
  layout->addWidget(blockKkm_);
  layout->addStretch(1);
  return rangePanel_;
}

QWidget* TFSHK1::BuildActiveBaseBox() {
  auto* box = new QGroupBox(QStringLiteral("Активная база товаров"), this);
  typeField_ = ReadOnlyField(box, 0);
  zhrmLabel_ = new QLabel(QStringLiteral("ЖРМ №"), box);
  zhrmField_ = ReadOnlyField(box, 4);
  kkmLabel_ = new QLabel(QStringLiteral("ККМ №"), box);
  kkmField_ = ReadOnlyField(box, 8);
  button1_ = new QPushButton(QStringLiteral("Выбор базы"), this);
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel(QStringLiteral("Тип прибора"), box), 0, 0);
  grid->addWidget(typeField_, 1, 0);
  grid->addWidget(zhrmLabel_, 0, 1);
  grid->addWidget(zhrmField_, 1, 1);
  grid->addWidget(kkmLabel_, 0, 2);
  grid->addWidget(kkmField_, 1, 2);
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(box);
  layout->addWidget(button1_, 0, Qt::AlignRight);
  return column;
}

QWidget* TFSHK1::BuildPages() {
  pages_ = new QTabWidget(this);
  grid_ = new ProductGrid(ws_, pages_);
  blocks_ = TapeTable(pages_, {QStringLiteral(" Выбор"), QStringLiteral(" Номер КЛ"),
                               QStringLiteral(" Дата вывода"), QStringLiteral(" Кол-во покупок")});
  tape_ = TapeTable(pages_, {QStringLiteral("№ в базе"), QStringLiteral("Наименование"),
                             QStringLiteral("Стоимость"), QStringLiteral("Количество"),
                             QStringLiteral("Прод/Возвр")});
  pages_->addTab(grid_, QStringLiteral("Таблица базы товаров"));
  pages_->addTab(blocks_, QStringLiteral("Информация о блоках КЛ"));
  pages_->addTab(tape_, QStringLiteral("Контрольные ленты"));
  pages_->setTabVisible(1, false);
  pages_->setTabVisible(2, false);
  return pages_;
}

QWidget* TFSHK1::BuildServerPanel() {
  serverPanel_ = new QFrame(this);
  serverPanel_->setAutoFillBackground(true);
  QPalette red = serverPanel_->palette();
  red.setColor(QPalette::Window, QColor(200, 0, 0));
  red.setColor(QPalette::WindowText, Qt::white);
  serverPanel_->setPalette(red);
  auto* label = new QLabel(QStringLiteral("Сервер осуществляет обмен данными с активной базой"),
                           serverPanel_);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  serverProgress_ = new QProgressBar(serverPanel_);
  serverPacer_ = std::make_unique<RepaintPacer>();
  serverProgress_->setTextVisible(false);
  PaintPlainly(*serverProgress_);
  auto* layout = new QHBoxLayout(serverPanel_);
  layout->addWidget(label);
  layout->addWidget(serverProgress_, 1);
  serverPanel_->hide();
  return serverPanel_;
}

QWidget* TFSHK1::BuildBottom() {
  auto* bottom = new QWidget(this);
  status_ = new StatusPanel(bottom);
  auto* layout = new QHBoxLayout(bottom);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(status_, 1, Qt::AlignBottom);
  layout->addWidget(new LogoWidget(bottom), 0, Qt::AlignRight | Qt::AlignBottom);
  return bottom;
}

void TFSHK1::FormCreate() {
  BuildActions();
  BuildMenus();
  auto* central = new QWidget(this);
  auto* top = new QHBoxLayout;
  top->addWidget(BuildRangeBar(), 1);
  top->addWidget(BuildActiveBaseBox(), 1);
  auto* layout = new QVBoxLayout(central);
  layout->addLayout(top);
  layout->addWidget(BuildPages(), 1);
  layout->addWidget(BuildServerPanel());
  layout->addWidget(BuildBottom());
  setCentralWidget(central);
  // The server's progress bar in the button-face colour.
  QPalette face = serverProgress_->palette();
  face.setColor(QPalette::Base, palette().color(QPalette::Button));
  serverProgress_->setPalette(face);
  pages_->setCurrentIndex(0);
}

void TFSHK1::PlaceOnScreen() {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kWindowSize);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kWindowSize.width() / 2, kWindowSize.height() / 2));
  }
}

}  // namespace zel
