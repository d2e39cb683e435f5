#include "CDDBUnit.h"

#include "FinderLook.h"

Tqueryform::Tqueryform(TComponent* owner) : TForm(owner)
{
    SetCaption("CDDB Query List");
    Position = poScreenCenter;
    SetClientWidth(521);
    SetClientHeight(362);
    SetBorderStyle(bsDialog);

    Panel1 = new TPanel(this);
    Panel1->SetParent(this);
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(25);
    SetBarLook(*Panel1, "Result of CDDB Query");

    Panel2 = new TPanel(this);
    Panel2->SetParent(this);
    Panel2->SetAlign(alBottom);
    Panel2->SetHeight(41);
    Button1 = new TButton(this);
    Button1->SetParent(Panel2);
    Button1->SetBounds(327, 8, 89, 25);
    Button1->SetCaption("C&hoose");
    Button1->SetDefault(true);
    Button1->ModalResult = mrOk;
    Button2 = new TButton(this);
    Button2->SetParent(Panel2);
    Button2->SetBounds(424, 8, 89, 25);
    Button2->SetCaption("&Cancel");
    Button2->ModalResult = mrCancel;

    QueryBox = new TListBox(this);
    QueryBox->SetParent(this);
    QueryBox->SetAlign(alClient);
    SetFinderFont(QueryBox->Font);
    QueryBox->SetItemHeight(18);
    QueryBox->OnDblClick = [this](TObject* s) { QueryBoxDblClick(s); };
    // Tab reads the window from the top: the matches, then the buttons below them; the keys
    // work the matches from the start: arrows move in the list, Return chooses.
    QueryBox->SetTabOrder(Panel2->TabOrder());
    OnShow = [this](TObject*) { QueryBox->SetFocus(); };
    Created();
}

Tqueryform::~Tqueryform() { Destroying(); }

void Tqueryform::QueryBoxDblClick(TObject*) { SetModalResult(mrOk); }
