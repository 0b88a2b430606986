#pragma once
// "Yankee tool !": converts lengths, areas and volumes between metric and imperial
// units. Eight value fields in four pairs, bound to the tool's own values; committing
// one field sets its partner to the committed value times the pair's factor. Its main menu command is disabled
// while it is open.
//
// The shell keeps one TYankee (constructed with the host, destroyed before it) and
// calls Open() on the "&Yankee tool" command; closing only hides it, so it can be
// opened again. Every Open starts from the initial values.

#include "ui/TDialogModel.h"

#include <cstddef>

class TYankee : public TDialogModel {
public:
    // Control ids: metric fields, then their imperial partners.
    static constexpr int Millimetre = 105, Inch = 103;
    static constexpr int SquareCentimetre = 106, SquareInch = 102;
    static constexpr int Litre = 108, CubicFoot = 107;
    static constexpr int SquareMetre = 104, SquareFoot = 101;

    explicit TYankee(THost& host);

    // Shows the tool with its initial values; an open tool is only raised.
    void Open();

    // The partner of a field and the factor that converts this field's unit into the
    // partner's; 0 for an id that is not one of the eight.
    static int Partner(int id);
    static double Factor(int id);

    static constexpr std::size_t kFieldCount = 8;

private:
    static std::size_t PartnerIndex(std::size_t index);
    void SetInitialValues();

    double values_[kFieldCount] = {}; // what each field shows, in the table's order
};
