// The field maps of the products: one row per product type, and the two map classes the rows
// build (the plain layout of products 4 and 5, the SAA713x layout with a ProductID of the rest).
#pragma once

#include "dunmorra/EppromInfo.h"
#include "dunmorra/ProductType.h"

struct ProductInfoRow {
    int productType;
    bool saa713x;  // CEppromInfo713x; otherwise CEppromInfoHarlo
    int vendorPos;
    int subWindowIDPos;
    int modelPos;
    int modelHighPos;
    int factoryPos;
    int companyPos;
    int chipsetPos;
    const char* chipset;
    int productID;  // -1: the map has none
};

// The row of a product type; null for a type without a field map.
const ProductInfoRow* FindProductInfoRow(EMProductType type);
// A new field map of the row's product, company and chipset already stored.
CEppromInfo* CreateProductInfo(const ProductInfoRow& row);

// A field map placed by its product's row, company and chipset stored.
class CProductEppromInfo : public CEppromInfo {
public:
    explicit CProductEppromInfo(const ProductInfoRow& row);
};

// Products 4 and 5: no subsystem field at all.
class CEppromInfoHarlo : public CProductEppromInfo {
public:
    explicit CEppromInfoHarlo(const ProductInfoRow& row);
    void SetSubWindowID(unsigned short usSubWindowID) override;
};

// The SAA713x layout: the SubWindowID field holds the product's ProductID, preceded by the low
// byte of the tuner's subsystem id. Some USB-bridge products also set further bytes of their
// template for certain tuner models.
class CEppromInfo713x : public CProductEppromInfo {
public:
    explicit CEppromInfo713x(const ProductInfoRow& row);
    void SetSubWindowID(unsigned short usSubWindowID) override;
    void SetModel(unsigned char ucModel) override;

protected:
    int m_iProductType;
    int m_iProductID;
};
