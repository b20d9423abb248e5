// Product types of the maker's cards, as the EEPROM library numbers them, and the product-ID byte
// an SAA713x-style image carries for its product.
#pragma once

enum EMProductType : int {
    PRODUCT_UNKNOWN = 0,
    PRODUCT_AMBREL = 4,
    PRODUCT_BOSQUIN = 5,
    PRODUCT_CALDRITH = 6,
    PRODUCT_DRAVIN = 7,
    PRODUCT_ELVATH = 8,
    PRODUCT_FENNOR = 9,
    PRODUCT_HOSKAR = 10,
    PRODUCT_ISGRIM = 11,
    PRODUCT_JALVOR = 12,
    PRODUCT_KERVIN = 13,
    PRODUCT_LODRIN = 14,
    PRODUCT_NERROW = 20,
    PRODUCT_PENDREL = 22,
    PRODUCT_QUARRIN = 23,
    PRODUCT_RIVESK = 24,
    PRODUCT_SANDREL = 25,
    PRODUCT_ULBRIN = 26,
    PRODUCT_OGMUND = 27,
    PRODUCT_YELVIN = 28,
    PRODUCT_OMBRIT = 29,
    PRODUCT_BELVOR = 30,
    PRODUCT_CORLISH = 31,
    PRODUCT_ELGRIN = 32,
    PRODUCT_DALVREN = 33,
    PRODUCT_FIMBREL = 34,
    PRODUCT_GARVISH = 35,
    PRODUCT_KOLVIR = 36,
    PRODUCT_MORVISH = 38,
    PRODUCT_LENTOR = 39,
    PRODUCT_ZARREL = 60,
    PRODUCT_JORSK = 65,
    PRODUCT_HELMIC = 70,
    PRODUCT_IVLEN = 80,
    PRODUCT_NALDER = 81,
    PRODUCT_OSKELM = 82,
    PRODUCT_PARNISH = 83,
    PRODUCT_KESHAR = 84,
};

// The ProductID byte of a product (0x20 to 0x83).
typedef int EMProductID;
