#pragma once
// Tqueryform: the chooser that offers the matches of a CDDB query, one per row.
#include "ExtCtrls.h"
#include "Forms.h"
#include "ListBoxes.h"
#include "StdCtrls.h"

class Tqueryform : public TForm {
public:
    explicit Tqueryform(TComponent* owner);
    ~Tqueryform() override;

    TPanel* Panel1;
    TListBox* QueryBox;
    TPanel* Panel2;
    TButton* Button1;  // "C&hoose"
    TButton* Button2;  // "&Cancel"

    void QueryBoxDblClick(TObject* sender);
};
