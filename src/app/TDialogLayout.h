#pragma once
// Places the widgets of a dialog model's fields: sections (framed boxes when they have
// a caption) stacked in columns that stand side by side, each field on a row of
// label | editor | unit, a Beside() field on the row of the field before it, and the
// bottom buttons with the "?" help button in a row under the sections. The captions
// of the sections of a column line up. Every field's widgets are created here, through
// its adapter, in declaration order.

#include <functional>
#include <map>
#include <utility>
#include <vector>

class QGridLayout;
class QHBoxLayout;
class QPushButton;
class QVBoxLayout;
class QWidget;
class TDialogModel;
class TFieldWidget;
struct TField;

class TDialogLayout {
public:
    using FieldWidgets = std::function<TFieldWidget*(int id)>;

    // window: whose style sets the spacing and the label alignment.
    TDialogLayout(const QWidget& window, FieldWidgets widgetOf) : window_(window), widgetOf_(std::move(widgetOf)) {}

    // The content widget, without a parent. A field without an adapter is left out.
    QWidget* Build(const TDialogModel& model);
    // The "?" button of the button row; nullptr when the dialog has no help file.
    QPushButton* HelpButton() const { return help_; }

private:
    void StartSection(const TField& field);
    void AddField(TFieldWidget& widget, const TField& field);
    void LineUpCaptions();
    void AddButtonRow(const TDialogModel& model, const std::vector<const TField*>& buttons);

    const QWidget& window_;
    FieldWidgets widgetOf_;
    QPushButton* help_ = nullptr;

    QVBoxLayout* outer_ = nullptr;
    QHBoxLayout* columns_ = nullptr;
    std::map<int, QVBoxLayout*> columnLayouts_;
    // Widest first caption of each section, by column.
    std::map<int, std::vector<std::pair<QGridLayout*, int>>> captions_;
    QGridLayout* grid_ = nullptr;
    int section_ = -1;
    int row_ = -1;
    int block_ = 0;
};
