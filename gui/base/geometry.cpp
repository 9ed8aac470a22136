#include "gui/base/geometry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>

namespace zv {

namespace {

void Line(QByteArray& out, const QString& name, const QRect& r) {
    out += name.toUtf8() + ' ' + QByteArray::number(r.x()) + ' ' + QByteArray::number(r.y()) + ' ' +
           QByteArray::number(r.width()) + ' ' + QByteArray::number(r.height()) + '\n';
}

// What a box holds, on a line of its own: "text:" + name, a space, the text in one line.
void TextLine(QByteArray& out, const QString& name, QString text) {
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out += "text:" + name.toUtf8() + ' ' + text.toUtf8() + '\n';
}

QRect Global(const QWidget* w, const QRect& local) { return QRect(w->mapToGlobal(local.topLeft()), local.size()); }

void Report(const QString& path) {
    QByteArray out;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        const QString window = top->objectName().isEmpty() ? QString::fromLatin1(top->metaObject()->className())
                                                             : top->objectName();
        Line(out, QStringLiteral("window:") + window, top->frameGeometry());
        if (auto* box = qobject_cast<QMessageBox*>(top)) TextLine(out, QStringLiteral("QMessageBox"), box->text());
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || !w->isVisible()) continue;
            Line(out, w->objectName(), Global(w, w->rect()));
            Line(out, window + QStringLiteral("/") + w->objectName(), Global(w, w->rect()));
            if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->echoMode() == QLineEdit::Normal)
                TextLine(out, w->objectName(), edit->text());
            if (auto* tabs = qobject_cast<QTabWidget*>(w))
                for (int i = 0; i < tabs->count(); ++i)
                    Line(out, w->objectName() + QStringLiteral("#") + QString::number(i),
                         Global(tabs->tabBar(), tabs->tabBar()->tabRect(i)));
            if (auto* list = qobject_cast<QListWidget*>(w))
                for (int i = 0; i < list->count(); ++i)
                    Line(out, w->objectName() + QStringLiteral("#") + QString::number(i),
                         Global(list->viewport(), list->visualItemRect(list->item(i))));
            if (auto* table = qobject_cast<QTableWidget*>(w))
                for (int i = 0; i < table->rowCount() && i < 50; ++i)
                    if (table->item(i, 0))
                        Line(out, w->objectName() + QStringLiteral("#") + QString::number(i),
                             Global(table->viewport(), table->visualItemRect(table->item(i, 0))));
        }
    }
    QFile f(path + QStringLiteral(".part"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(out) == out.size()) {
        f.close();
        QFile::remove(path);
        f.rename(path);
    }
}

} // namespace

void StartGeometryReport() {
    const QString path = qEnvironmentVariable("ZORVANE_GEOMETRY_FILE");
    if (path.isEmpty()) return;
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [path] { Report(path); });
    timer->start(150);
}

} // namespace zv
