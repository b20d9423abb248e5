// Tuner identifiers besides the tuner model: the maker letter, the 16-bit PCI subsystem id an
// image carries for a tuner model, and the Kesh product's own 16-bit tuner id.
#pragma once

// Maker of a tuner module as one ASCII letter; stored as one byte in an image.
enum TUNER_FACTORY : int {
    TUNER_FACTORY_NONE = 'N',
    TUNER_FACTORY_T = 'T',
    TUNER_FACTORY_G = 'G',
    TUNER_FACTORY_X = 'X',
    TUNER_FACTORY_A = 'A',
    TUNER_FACTORY_L = 'L',
    TUNER_FACTORY_E = 'E',
    TUNER_FACTORY_P = 'P',
    TUNER_FACTORY_O = 'O',
    TUNER_FACTORY_C = 'C',
    TUNER_FACTORY_D = 'D',
};

typedef int TunerSubSystemID;

// The Kesh product's tuner id (Kesh cards map it to and from TUNER_MODEL). Only "none" is known
// here; the other values come from the card.
enum KeshTunerID : int {
    KESH_TUNER_ID_NONE = 5118,
};
