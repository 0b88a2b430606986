#include "TDialogView.h"

#include "TDialogWindow.h"

#include <QLayout>
#include <QPixmap>
#include <QString>

namespace TDialogView {

QWidget* Create(TDialogModel& model, QWidget* parent) { return new TDialogWindow(model, parent); }

void Reload(QWidget* view)
{
    if (auto* window = dynamic_cast<TDialogWindow*>(view))
        window->Load();
}

bool SavePicture(TDialogModel& model, const QString& path)
{
    TDialogWindow window(model, nullptr);
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show(); // lays the window out without putting it on a screen
    QPixmap picture = window.grab();
    window.hide();
    return !picture.isNull() && picture.save(path, "PNG");
}

} // namespace TDialogView
