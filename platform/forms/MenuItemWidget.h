#pragma once
// Owner-drawn menu entries: a Qt widget in the menu that asks the item's handlers for its size
// and its pixels.
class QMenu;
class QAction;
class TMenuItem;

// An action for menu that shows item through its OnMeasureItem and OnDrawItem; subMenu, when
// given, holds the item's own items and opens from it.
QAction* NewOwnerDrawnAction(QMenu* menu, TMenuItem* item, QMenu* subMenu = nullptr);
