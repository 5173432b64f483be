// The browse procedures: each runs the browse pattern over its table (app/procedures/carlgNNN.cpp).
#pragma once

#include <span>

#include "app/patterns/browse_table.h"

namespace carelog::app {

extern const BrowseTable kBrowseall;                  // BROWSEALL
extern const BrowseTable kBrowsepatDockey;            // BROWSEPAT:DOCKEY
extern const BrowseTable kBrowsephysicians;           // BROWSEPHYSICIANS
extern const BrowseTable kBrowseAllProgress;          // BROWSE_ALL_PROGRESS
extern const BrowseTable kBrowsedate;                 // BROWSEDATE
extern const BrowseTable kBrowsedates;                // BROWSEDATES
extern const BrowseTable kSelectpatients;             // SELECTPATIENTS
extern const BrowseTable kBrowseproKeyPatientNumber;  // BROWSEPRO:KEY_PATIENT_NUMBER
extern const BrowseTable kBrowsepocPatkey;            // BROWSEPOC:PATKEY
extern const BrowseTable kBrowseaddRecnokey;          // BROWSEADD:RECNOKEY
extern const BrowseTable kBrowsesixPatkey;            // BROWSESIX:PATKEY
extern const BrowseTable kBrowseordPatkey;            // BROWSEORD:PATKEY
extern const BrowseTable kBrowsedatPatkey;            // BROWSEDAT:PATKEY
extern const BrowseTable kBrowsehhaPatientNoKey;      // BROWSEHHA:PATIENT_NO_KEY
extern const BrowseTable kBrowsedocKeyPatientNumber;  // BROWSEDOC:KEY_PATIENT_NUMBER
extern const BrowseTable kBrowsefamKeyPatientNumber;  // BROWSEFAM:KEY_PATIENT_NUMBER
extern const BrowseTable kBrowsecarKeyPatientNumber;  // BROWSECAR:KEY_PATIENT_NUMBER
extern const BrowseTable kBrowsenarPatientNumberKey;  // BROWSENAR:PATIENT_NUMBER_KEY
extern const BrowseTable kBrowsemedKeyPatientNumber;  // BROWSEMED:KEY_PATIENT_NUMBER
extern const BrowseTable kBrowsedisKeyPatientNumber;  // BROWSEDIS:KEY_PATIENT_NUMBER
extern const BrowseTable kBrowsecalenders;            // BROWSECALENDERS
extern const BrowseTable kBrowsemonPatientnumberkey;  // BROWSEMON:PATIENTNUMBERKEY
extern const BrowseTable kBrowseconfernce;            // BROWSECONFERNCE
extern const BrowseTable kBrowsecasPatientnumberkey;  // BROWSECAS:PATIENTNUMBERKEY

void BROWSEALL();
void BROWSEPAT_DOCKEY();
void BROWSEPHYSICIANS();
void BROWSE_ALL_PROGRESS();
void BROWSEDATE();
void BROWSEDATES();
void SELECTPATIENTS();
void BROWSEPRO_KEY_PATIENT_NUMBER();
void BROWSEPOC_PATKEY();
void BROWSEADD_RECNOKEY();
void BROWSESIX_PATKEY();
void BROWSEORD_PATKEY();
void BROWSEDAT_PATKEY();
void BROWSEHHA_PATIENT_NO_KEY();
void BROWSEDOC_KEY_PATIENT_NUMBER();
void BROWSEFAM_KEY_PATIENT_NUMBER();
void BROWSECAR_KEY_PATIENT_NUMBER();
void BROWSENAR_PATIENT_NUMBER_KEY();
void BROWSEMED_KEY_PATIENT_NUMBER();
void BROWSEDIS_KEY_PATIENT_NUMBER();
void BROWSECALENDERS();
void BROWSEMON_PATIENTNUMBERKEY();
void BROWSECONFERNCE();
void BROWSECAS_PATIENTNUMBERKEY();

// Every browse table, in catalogue order.
std::span<const BrowseTable* const> BrowseTables();

}  // namespace carelog::app
