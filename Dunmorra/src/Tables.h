// The product and tuner tables as data (see Tables.cpp): rows, and the orders in which the
// writer appends them to its four lookup tables.
#pragma once

namespace dunmorra_tables {

struct ProductRow {
    int productType;
    const char* name;
    int productID;  // -1: no row in the product-id table
};

struct TunerRow {
    int tunerModel;
    const char* name;
    int subsystemID;
    char factory;
};

extern const ProductRow kProductRows[];
extern const int kProductRowCount;
extern const TunerRow kTunerRows[];
extern const int kTunerRowCount;

extern const int kSubsystemTableOrder[];
extern const int kSubsystemTableOrderCount;
extern const int kTunerNameTableOrder[];
extern const int kTunerNameTableOrderCount;
extern const int kProductIdTableOrder[];
extern const int kProductIdTableOrderCount;
extern const int kProductNameTableOrder[];
extern const int kProductNameTableOrderCount;

const ProductRow* FindProductRow(int productType);
const TunerRow* FindTunerRow(int tunerModel);

}  // namespace dunmorra_tables
