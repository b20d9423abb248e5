// Template prefixes of the products (see ProductTemplates.cpp).
#pragma once

namespace dunmorra_templates {

extern const unsigned char kTemplateA[36];
extern const unsigned char kTemplateB[36];
extern const unsigned char kTemplateC[36];
extern const unsigned char kTemplateD[36];
extern const unsigned char kTemplateE[196];
extern const unsigned char kTemplateJ[196];
extern const unsigned char kTemplateL[196];
extern const unsigned char kTemplateP[196];
extern const unsigned char kTemplateZ[196];
extern const unsigned char kTemplateF[196];
extern const unsigned char kTemplateN[16];
extern const unsigned char kTemplateS[80];
extern const unsigned char kTemplateT[48];
extern const unsigned char kTemplateI[16];
extern const unsigned char kTemplateK[4];
extern const unsigned char kTemplateQ[144];

}  // namespace dunmorra_templates
