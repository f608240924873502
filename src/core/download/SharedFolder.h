#pragma once

#include <QString>

// Makes `folder` (its parent must be there) unless it is there already;
// writable for the group when its parent is, so that the other accounts of
// an office that share the data folder can write into it too. False when
// it could not be made.
bool MakeFolderSharedLikeItsParent(const QString& folder);
