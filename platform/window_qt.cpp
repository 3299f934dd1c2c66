#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "platform/codepage.h"
#include "platform/png.h"
#include "platform/qt_text.h"
#include "platform/window.h"

namespace platform {

QString ToQString(const Text& text) {
  if (text.empty()) return QString();
  const int n = MultiByteToWideChar(kCodePage936, 0, text.c_str(), text.size(), nullptr, 0);
  std::u16string units(n, u'\0');
  MultiByteToWideChar(kCodePage936, 0, text.c_str(), text.size(), units.data(), n);
  return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

Text FromQString(const QString& string) {
  if (string.isEmpty()) return Text();
  const auto* units = reinterpret_cast<const char16_t*>(string.utf16());
  const int length = static_cast<int>(string.size());
  const int n = WideCharToMultiByte(kCodePage936, 0, units, length, nullptr, 0, nullptr, nullptr);
  std::string bytes(n, '\0');
  WideCharToMultiByte(kCodePage936, 0, units, length, bytes.data(), n, nullptr, nullptr);
  return Text(bytes);
}

namespace {

// Calls from other threads wait on this until they are served or the form
// that serves them closes.
std::mutex g_callMutex;
std::condition_variable g_callDone;
bool g_serving = false;

struct PendingCall {
  bool done = false;
  bool abandoned = false;
};

void SetServing(bool serving) {
  {
    std::lock_guard lock(g_callMutex);
    g_serving = serving;
  }
  g_callDone.notify_all();
}

class FormWidget : public QWidget {
 public:
  FormWidget()
      : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                             Qt::WindowCloseButtonHint) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    SetServing(false);
    QWidget::closeEvent(event);
  }
};

class PictureBox : public QLabel {
 public:
  PictureBox(QWidget* parent, std::function<void()> onLeftPress)
      : QLabel(parent), onLeftPress_(std::move(onLeftPress)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && onLeftPress_) onLeftPress_();
    QLabel::mousePressEvent(event);
  }

 private:
  std::function<void()> onLeftPress_;
};

}  // namespace

void InitializeWindowSystem() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "vellacrop";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

int RunMessageLoop() { return QApplication::exec(); }

void EndProgram(int status) {
  std::fflush(nullptr);
  _exit(status);
}

bool RunOnWindowThread(const std::function<void()>& fn) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  if (QThread::currentThread() == app->thread()) {
    fn();
    return true;
  }
  auto call = std::make_shared<PendingCall>();
  {
    std::lock_guard lock(g_callMutex);
    if (!g_serving) return false;
  }
  QMetaObject::invokeMethod(
      app,
      [call, &fn] {
        {
          std::lock_guard lock(g_callMutex);
          if (!g_serving || call->abandoned) return;
        }
        fn();
        {
          std::lock_guard lock(g_callMutex);
          call->done = true;
        }
        g_callDone.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(g_callMutex);
  g_callDone.wait(lock, [&] { return call->done || !g_serving; });
  if (!call->done) call->abandoned = true;
  return call->done;
}

struct Form::Impl {
  FormWidget* window = nullptr;
  std::vector<QWidget*> controls;

  Control Add(QWidget* widget, std::string_view name, Rect rect) {
    widget->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
    controls.push_back(widget);
    return static_cast<Control>(controls.size() - 1);
  }
  // Lists repaint at most once a frame: a crawl may log faster than a list
  // can be drawn, and every row change would otherwise draw the whole view.
  static void CoalescePaint(QTreeWidget* tree) {
    if (!tree->updatesEnabled()) return;
    tree->setUpdatesEnabled(false);
    QTimer::singleShot(kPaintIntervalMs, tree, [tree] { tree->setUpdatesEnabled(true); });
  }
  static constexpr int kPaintIntervalMs = 30;

  template <typename T>
  T* As(Control control) const {
    if (control < 0 || control >= static_cast<int>(controls.size())) return nullptr;
    return qobject_cast<T*>(controls[control]);
  }
};

Form::Form(const Text& caption, int clientWidth, int clientHeight) : impl_(new Impl) {
  InitializeWindowSystem();
  impl_->window = new FormWidget;
  impl_->window->setWindowTitle(ToQString(caption));
  impl_->window->setFixedSize(clientWidth, clientHeight);
  SetServing(true);
}

Form::~Form() {
  SetServing(false);
  delete impl_->window;
}

Control Form::AddLabel(std::string_view name, Rect rect, const Text& caption) {
  auto* label = new QLabel(ToQString(caption), impl_->window);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return impl_->Add(label, name, rect);
}

Control Form::AddEditBox(std::string_view name, Rect rect) {
  auto* edit = new QLineEdit(impl_->window);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  edit->setPalette(palette);
  return impl_->Add(edit, name, rect);
}

Control Form::AddButton(std::string_view name, Rect rect, const Text& caption,
                        std::function<void()> onClick) {
  auto* button = new QPushButton(ToQString(caption), impl_->window);
  button->setCursor(Qt::PointingHandCursor);
  QObject::connect(button, &QPushButton::clicked, button, [onClick] {
    if (onClick) onClick();
  });
  return impl_->Add(button, name, rect);
}

Control Form::AddListView(std::string_view name, Rect rect,
                          const std::vector<ListColumn>& columns) {
  auto* list = new QTreeWidget(impl_->window);
  list->setColumnCount(static_cast<int>(columns.size()));
  QStringList headers;
  for (const ListColumn& c : columns) headers << ToQString(c.header);
  list->setHeaderLabels(headers);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setIndentation(0);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSortingEnabled(false);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setFrameShape(QFrame::StyledPanel);
  list->setFrameShadow(QFrame::Sunken);
  QPalette palette = list->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  list->setPalette(palette);
  QHeaderView* header = list->header();
  header->setSectionsMovable(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    header->resizeSection(i, columns[i].width);
  }
  return impl_->Add(list, name, rect);
}

Control Form::AddPictureBox(std::string_view name, Rect rect, const Bytes& png,
                            std::function<void()> onLeftPress) {
  auto* box = new PictureBox(impl_->window, std::move(onLeftPress));
  box->setFrameShape(QFrame::NoFrame);
  box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  box->setScaledContents(false);
  const RgbaImage image = DecodePng(png);
  if (image.width > 0) {
    const QImage picture(image.pixels.data(), image.width, image.height, image.width * 4,
                         QImage::Format_RGBA8888);
    box->setPixmap(QPixmap::fromImage(picture.copy()));
  }
  return impl_->Add(box, name, rect);
}

void Form::ShowCentered() {
  QWidget* w = impl_->window;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const QSize frame = w->frameGeometry().size().expandedTo(w->size());
    w->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
  }
  w->show();
}

void Form::Close() { impl_->window->close(); }

Text Form::ControlText(Control control) const {
  if (auto* edit = impl_->As<QLineEdit>(control)) return FromQString(edit->text());
  if (auto* label = impl_->As<QLabel>(control)) return FromQString(label->text());
  if (auto* button = impl_->As<QPushButton>(control)) return FromQString(button->text());
  return Text();
}

int Form::InsertListRow(Control list) {
  auto* tree = impl_->As<QTreeWidget>(list);
  if (tree == nullptr) return -1;
  Impl::CoalescePaint(tree);
  const int row = tree->topLevelItemCount();
  tree->insertTopLevelItem(row, new QTreeWidgetItem);
  return row;
}

void Form::SetListCell(Control list, int row, int column, const Text& text) {
  auto* tree = impl_->As<QTreeWidget>(list);
  QTreeWidgetItem* item = tree ? tree->topLevelItem(row) : nullptr;
  if (item == nullptr) return;
  Impl::CoalescePaint(tree);
  item->setText(column, ToQString(text));
}

void Form::ScrollListRowIntoView(Control list, int row) {
  auto* tree = impl_->As<QTreeWidget>(list);
  QTreeWidgetItem* item = tree ? tree->topLevelItem(row) : nullptr;
  if (item == nullptr) return;
  Impl::CoalescePaint(tree);
  // Lay the rows out first, so that scroll bars that the new row brings are
  // counted when the row is brought into view.
  tree->doItemsLayout();
  tree->scrollToItem(item);
}

}  // namespace platform
