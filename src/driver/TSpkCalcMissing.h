#pragma once
// "Calc. missing fields": fills undefined parameters from defined ones and never
// changes a defined value. The caller copies the editor's texts in first and sends
// the change notification afterwards.

class TSpkData;

void CalcMissingFields(TSpkData& unit);
