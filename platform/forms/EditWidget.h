#pragma once
// The line edit that stands for an edit control: its flat border, its text cursor's width and
// what entering it selects.
class QLineEdit;
class TEdit;

QLineEdit* NewEditWidget(TEdit* edit);
