// The element tables as a box dialog uses them: fields built from the descriptions and
// bound to an air volume, a port in it and a passive radiator in it. What the dialog
// shows must be what the element's own text says, and a value typed into the dialog
// must do exactly what the element's commit rule does with it.
#include "box/elements/TAbrObject.h"
#include "box/elements/TAbrObjectFields.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TPortObject.h"
#include "box/elements/TPortObjectFields.h"
#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr TBoxField kBoxFields[] = {TBoxField::Volume, TBoxField::Qb, TBoxField::Ql, TBoxField::Fill};
constexpr TPortField kPortFields[] = {TPortField::Length,      TPortField::Diameter, TPortField::FlareRadius,
                                      TPortField::MaxDiameter, TPortField::Area,     TPortField::ResFreq,
                                      TPortField::Count,       TPortField::NonLinearity};
constexpr TAbrField kAbrFields[] = {TAbrField::Vap,  TAbrField::Sd,   TAbrField::Mmp,   TAbrField::Fp,
                                    TAbrField::Fb,   TAbrField::Xmax, TAbrField::Count, TAbrField::NonLinearity};

int BoxId(TBoxField f) { return 100 + static_cast<int>(f); }
int PortId(TPortField f) { return 200 + static_cast<int>(f); }
int AbrId(TAbrField f) { return 300 + static_cast<int>(f); }

// One box with one port and one radiator, as a vented box with a radiator would hold them.
struct Elements {
    TBoxObject box{"Box", true};
    TPortNonLinearity shared;
    TPortObject port{"Port", shared};
    TAbrObject abr{box};
    TPortObject* ports[1] = {&port};

    Elements() { port.V = box.TuningVolume(); }
};

class ElementDialog : public TDialogModel {
public:
    ElementDialog(THost& host, Elements& e) : TDialogModel(host, "Elements")
    {
        const TBoxElements box{.box = [&e]() -> TBoxObject& { return e.box; },
                               .ports = [&e] { return std::span<TPortObject* const>(e.ports); },
                               .radiator = [&e] { return &e.abr; }};
        for (TBoxField f : kBoxFields)
            AddField(BoxId(f), BoxFieldInfo(f), BindBoxField(box, f));
        for (TPortField f : kPortFields)
            AddField(PortId(f), PortFieldInfo(f), BindPortField([&e]() -> TPortObject& { return e.port; }, f, host));
        for (TAbrField f : kAbrFields)
            AddField(AbrId(f), AbrFieldInfo(f), BindAbrField([&e]() -> TAbrObject& { return e.abr; }, f));
        AddOk();
    }
};

// A check box shows on/off where the element's text says 1/0.
std::string AsListed(const std::string& elementText, const TFieldInfo& info)
{
    if (info.kind == TValueKind::Switch)
        return elementText == "1" ? "on" : "off";
    return elementText;
}

void ExpectDialogShowsTheElements(const ElementDialog& d, const Elements& e)
{
    for (TBoxField f : kBoxFields)
        EXPECT_EQ(d.Field(BoxId(f)).ShownValue(), BoxFieldText(e.box, f)) << BoxFieldInfo(f).label;
    for (TPortField f : kPortFields) {
        EXPECT_EQ(d.Field(PortId(f)).ShownValue(), AsListed(PortFieldText(e.port, f), PortFieldInfo(f)))
            << PortFieldInfo(f).label;
    }
    for (TAbrField f : kAbrFields)
        EXPECT_EQ(d.Field(AbrId(f)).ShownValue(), AsListed(AbrFieldText(e.abr, f), AbrFieldInfo(f)))
            << AbrFieldInfo(f).label;
}

TEST(TElementBinding, TheDialogShowsWhatTheElementsSay)
{
    THeadlessHost host;
    Elements e;
    ElementDialog d(host, e);
    d.Open();
    ExpectDialogShowsTheElements(d, e);
    EXPECT_EQ(d.Field(BoxId(TBoxField::Volume)).label, "Box volume");
    EXPECT_EQ(d.Field(PortId(TPortField::Area)).unit, "cm\xC2\xB2");
    EXPECT_TRUE(d.Field(PortId(TPortField::MaxDiameter)).dbl.ReadOnly());
    EXPECT_EQ(d.Field(AbrId(TAbrField::NonLinearity)).kind, TFieldKind::Check);
}

struct TypedRow {
    int id;
    const char* typed;
    double shown; // the same entry as the element's commit rule takes it
};

std::string Exact(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g ", v);
    return text;
}

// Everything an element stores that a field shows, to compare two element sets.
std::string Snapshot(const Elements& e)
{
    std::string out;
    for (TBoxField f : kBoxFields)
        out += Exact(BoxFieldStored(e.box, f));
    for (TPortField f : kPortFields)
        out += Exact(PortFieldStored(e.port, f));
    for (TAbrField f : kAbrFields)
        out += Exact(AbrFieldStored(e.abr, f));
    out += Exact(e.port.V) + Exact(e.abr.fb);
    out += std::string(e.box.dirty ? "B" : "b") + (e.port.dirty ? "P" : "p") + (e.abr.dirty ? "A" : "a");
    return out;
}

TEST(TElementBinding, ATypedValueDoesWhatTheCommitRuleDoes)
{
    const TypedRow rows[] = {
        {BoxId(TBoxField::Volume), "50", 50.0},       {BoxId(TBoxField::Fill), "100", 100.0},
        {BoxId(TBoxField::Qb), "7,5", 7.5},           {PortId(TPortField::Length), "20", 20.0},
        {PortId(TPortField::Diameter), "7", 7.0},     {PortId(TPortField::Area), "20", 20.0},
        {PortId(TPortField::FlareRadius), "30", 30.0}, {PortId(TPortField::ResFreq), "30", 30.0},
        {PortId(TPortField::Count), "2", 2.0},        {PortId(TPortField::Diameter), "1", 1.0},
        {PortId(TPortField::ResFreq), "900", 900.0},  {AbrId(TAbrField::Mmp), "20", 20.0},
        {AbrId(TAbrField::Fp), "25", 25.0},           {AbrId(TAbrField::Sd), "500", 500.0},
        {AbrId(TAbrField::Xmax), "0", 0.0},           {AbrId(TAbrField::Count), "2", 2.0},
    };
    for (const TypedRow& r : rows) {
        SCOPED_TRACE(std::to_string(r.id) + " " + r.typed);
        THeadlessHost dialogHost, ruleHost;
        Elements viaDialog, viaRule;
        for (Elements* e : {&viaDialog, &viaRule}) {
            e->box.dirty = e->port.dirty = e->abr.dirty = false;
        }
        ElementDialog d(dialogHost, viaDialog);
        d.Open();
        d.Type(r.id, r.typed);
        d.FocusField(TBaseDialog::OkId);

        if (r.id < 200)
            CommitBoxField(viaRule.box, static_cast<TBoxField>(r.id - 100), r.shown, viaRule.ports, &viaRule.abr);
        else if (r.id < 300)
            CommitPortField(viaRule.port, static_cast<TPortField>(r.id - 200), r.shown, ruleHost);
        else
            CommitAbrField(viaRule.abr, static_cast<TAbrField>(r.id - 300), r.shown);

        EXPECT_EQ(Snapshot(viaDialog), Snapshot(viaRule));
        EXPECT_EQ(dialogHost.Messages().size(), ruleHost.Messages().size()); // the same warnings
        // Every field, the changed one and those that follow from it, shows the result.
        ExpectDialogShowsTheElements(d, viaDialog);
    }
}

TEST(TElementBinding, TheRadiatorSwitchFollowsXmax)
{
    THeadlessHost host;
    Elements e;
    ElementDialog d(host, e);
    d.Open();
    const int check = AbrId(TAbrField::NonLinearity);
    d.Toggle(check, true);
    EXPECT_TRUE(e.abr.nonLinearity);
    d.Type(AbrId(TAbrField::Xmax), "0");
    d.FocusField(TBaseDialog::OkId);
    EXPECT_FALSE(d.Field(check).enabled);
    EXPECT_FALSE(d.Checked(check)); // shown cleared, the stored byte kept
    EXPECT_TRUE(e.abr.nonLinearity);
    d.Type(AbrId(TAbrField::Xmax), "5");
    d.FocusField(TBaseDialog::OkId);
    EXPECT_TRUE(d.Field(check).enabled);
    EXPECT_TRUE(d.Checked(check));
}

} // namespace
