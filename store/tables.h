#pragma once
// The catalogue's table declarations: labels, prefixes, file names, structure
// versions, fields in record order, keys and memos.
#include "platform/storage/tabledecl.h"

#include <QList>

namespace cx {

enum class TableId {
    Songs,           // Cantorix (MUS), crxdata
    ASongs,          // A_Songs (A_S): second declaration over crxdata
    Categories,      // CAT, CRXCAT
    Media,           // MED, crxmedia
    Album,           // ALB, crxalbum
    Labels,          // LAB, crxlabel
    Fonts,           // FON, crxfont
    AddWizard,       // AW, CRXAdWiz
    PlaylistMaster,  // PLD, crxplist
    PlaylistDetails, // PLA, crxpldet
    OldCantorix,     // M1, crxro
};
constexpr int kTableCount = 11;

const TableDecl &tableDecl(TableId id);
QList<TableId> allTables();

} // namespace cx
