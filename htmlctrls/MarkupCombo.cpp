#include "MarkupCombo.h"

#include "HtmlRender.h"
#include "HtmlStrip.h"
#include "ExtCtrls.h"

#include <QComboBox>
#include <QCollator>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {
constexpr int kScrollBarWidth = 17;  // the system's vertical scroll bar width

// The class library's sunken and raised 3-D edges, drawn on a copy of the rectangle.
void Edge(TCanvas& c, TRect r, TColor topLeft, TColor bottomRight) { Frame3D(c, r, topLeft, bottomRight); }

void Frame(TCanvas& c, const TRect& r, TColor color)
{
    c.Brush.Style = bsSolid;
    c.Brush.Color = color;
    c.FrameRect(r);
}
}  // namespace

// ---- flat-framed base --------------------------------------------------------------------
TBaseCustomComboBox::TBaseCustomComboBox(TComponent* owner, TComboBoxStyle style)
    : TComboBox(owner, style), buttonWidth_(kScrollBarWidth + 2), savedColor_(Color())
{
}

void TBaseCustomComboBox::SetFlat(bool on)
{
    if (flat_ == on)
        return;
    flat_ = on;
    SetCtl3D(!on);
    Invalidate();
}

void TBaseCustomComboBox::SetEtched(bool on)
{
    if (etched_ == on)
        return;
    etched_ = on;
    Invalidate();
}

void TBaseCustomComboBox::SetButtonWidth(int w)
{
    if (w < 14 || w > 32)
        return;
    buttonWidth_ = w;
    Invalidate();
}

void TBaseCustomComboBox::DropDown()
{
    TComboBox::DropDown();
    Invalidate();  // the button shows the open list
}

void TBaseCustomComboBox::CloseUp()
{
    TComboBox::CloseUp();
    Invalidate();
}

void TBaseCustomComboBox::MouseEnter()
{
    TComboBox::MouseEnter();
    if (!inside_ && Enabled()) {
        inside_ = true;
        Invalidate();
    }
    if (AutoFocus)
        SetFocus();
}

void TBaseCustomComboBox::MouseLeave()
{
    TComboBox::MouseLeave();
    if (inside_ && Enabled()) {
        inside_ = false;
        Invalidate();
    }
}

void TBaseCustomComboBox::EnabledChanged()
{
    if (!flat_)
        return;
    // A disabled flat box takes its parent's colour and gets its own back when enabled again.
    if (Enabled()) {
        SetColor(savedColor_);
    } else {
        savedColor_ = Color();
        if (Parent())
            SetColor(Parent()->Color());
    }
}

void TBaseCustomComboBox::PaintFlatFrame(TCanvas& c, bool hot)
{
    TRect r = {0, 0, Width(), Height()};
    TColor outer = hot ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
    if (hot) {
        Edge(c, r, clBtnShadow, clBtnHighlight);
        InflateRect(r, -1, -1);
        Frame(c, r, outer);
        InflateRect(r, -1, -1);
        Frame(c, r, Color());
    } else {
        Frame(c, r, outer);
        InflateRect(r, -1, -1);
        Frame(c, r, outer);
        InflateRect(r, -1, -1);
        Frame(c, r, Color());
    }
    if (Style() == csSimple)
        return;
    TRect button = {Width() - buttonWidth_, 2, Width() - 2, Height() - 2};
    if (DroppedDown()) {
        // Pressed in while its list is open: a flat frame.
        c.Brush.Style = bsSolid;
        c.Brush.Color = clBtnShadow;
        c.FrameRect(button);
    } else if (inside_ || Focused()) {
        if (etched_) {
            Edge(c, button, clBtnShadow, clBtnHighlight);
            InflateRect(button, -1, -1);
            Edge(c, button, clBtnHighlight, clBtnShadow);
        } else {
            Edge(c, button, clBtnHighlight, cl3DDkShadow);
            InflateRect(button, -1, -1);
            Edge(c, button, cl3DLight, clBtnShadow);
        }
    } else {
        // The face round the inner button area, which keeps the arrow the paint put there.
        const TRect face{button.Left, button.Top + 1, button.Right - 1, button.Bottom - 1};
        const TRect inner{Width() - buttonWidth_ + 4, 4, Width() - 4, Height() - 4};
        c.Brush.Style = bsSolid;
        c.Brush.Color = clBtnFace;
        c.FillRect({face.Left, face.Top, face.Right, inner.Top});
        c.FillRect({face.Left, inner.Bottom, face.Right, face.Bottom});
        c.FillRect({face.Left, inner.Top, inner.Left, inner.Bottom});
        c.FillRect({inner.Right, inner.Top, face.Right, inner.Bottom});
    }
}

void TBaseCustomComboBox::PaintWindow(QPainter& painter)
{
    if (!flat_) {
        TComboBox::PaintWindow(painter);
        return;
    }
    TCanvas& c = Canvas();
    c.Attach(&painter);
    TRect client = ClientRect();
    c.Brush.Style = bsSolid;
    c.Brush.Color = Color();
    c.FillRect(client);
    // A flat drop-down button with its arrow in the rightmost ButtonWidth pixels, inset 1.
    c.Brush.Color = clBtnFace;
    c.FillRect({client.Right - buttonWidth_ + 1, 1, client.Right - 1, client.Bottom - 1});
    int cx = client.Right - buttonWidth_ / 2 - 1, cy = client.Height() / 2;
    TPoint arrow[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
    c.Pen.Color = clBtnText;
    c.Brush.Color = clBtnText;
    c.Polygon(arrow, 3);
    bool hot = (inside_ || Focused()) && FocusBorder;
    PaintFlatFrame(c, hot);
    c.Release();
    TRect field = {3, 3, client.Right - buttonWidth_ - 1, client.Bottom - 3};
    PaintItem(painter, ItemIndex(), field, odComboBoxEdit | (Focused() ? odSelected | odFocused : 0));
}

// ---- the HTML combo box -----------------------------------------------------------------
TMarkupComboBox::TMarkupComboBox(TComponent* owner)
    : TBaseCustomComboBox(owner, csOwnerDrawFixed), cache_(std::make_unique<TMarkupPictureCache>())
{
    SetColor(clWindow);
}

TMarkupComboBox::~TMarkupComboBox() = default;

void TMarkupComboBox::SetStyle(TComboBoxStyle) { TBaseCustomComboBox::SetStyle(csOwnerDrawFixed); }

void TMarkupComboBox::SetItemIndex(int index)
{
    TComboBox::SetItemIndex(index);
    if (dropped_)
        listCurrent_ = index;
}

void TMarkupComboBox::SetURLColor(TColor c)
{
    urlColor_ = c;
    Invalidate();
}

void TMarkupComboBox::SetImages(TImageList* images)
{
    ReferTo(this, images_, images);
    Invalidate();
}

void TMarkupComboBox::SetPictureStore(TPictureStore* store)
{
    ReferTo(this, pictureStore_, store);
    Invalidate();
}

void TMarkupComboBox::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component == images_)
        images_ = nullptr;
    if (operation == opRemove && component == pictureStore_)
        pictureStore_ = nullptr;
    TBaseCustomComboBox::Notification(component, operation);
}

void TMarkupComboBox::SetEllipsis(bool on)
{
    ellipsis_ = on;
    Invalidate();
}

void TMarkupComboBox::SetShadowOffset(int offset)
{
    shadowOffset_ = offset;
    Invalidate();
}

void TMarkupComboBox::SetShadowColor(TColor c)
{
    shadowColor_ = c;
    Invalidate();
}

TMarkupComboBox::Measured TMarkupComboBox::Measure(int index)
{
    TBitmap scratch(1, 1, pf24bit);
    TCanvas& c = scratch.Canvas();
    c.Font.Assign(Font);
    Measured m;
    String anchor, focus;
    int w = 0, links = 0, hovered = 0;
    TRect hoveredRect;
    TRect r = ClientRect();
    r.Bottom = r.Top + 1000;
    HtmlDrawText(c, Items()[index], r, images_, 0, 0, -1, -1, shadowOffset_, true, true, false, true, true, false,
                 !ellipsis_, 1.0, urlColor_, clNone, clNone, shadowColor_, anchor, m.plain, focus, w, m.height, links,
                 hovered, hoveredRect, cache_.get(), pictureStore_, 0);
    return m;
}

String TMarkupComboBox::StrippedItems(int index)
{
    if (index < 0 || index >= Items().Count())
        throw EMarkupComboBoxError("Item index out of range");
    return Measure(index).plain;
}

void TMarkupComboBox::SetSorted(bool on)
{
    sorted_ = on;
    if (!on)
        return;
    int keep = ItemIndex();
    struct Line {
        String plain, markup;
        TObject* object;  // goes where its line goes
    };
    std::vector<Line> lines;
    for (int i = 0; i < Items().Count(); ++i)
        lines.push_back({HtmlStrip(Items()[i]), Items()[i], Items().Objects(i)});
    // The user's locale, case counting.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::stable_sort(lines.begin(), lines.end(), [&](const auto& a, const auto& b) {
        return collator.compare(QString::fromStdString(a.plain), QString::fromStdString(b.plain)) < 0;
    });
    Items().BeginUpdate();
    Items().Clear();
    for (const Line& line : lines)
        Items().AddObject(line.markup, line.object);
    Items().EndUpdate();
    TComboBox::SetItemIndex(keep);
}

void TMarkupComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TCanvas& c = Canvas();
    bool selected = state & odSelected;
    c.Brush.Style = bsSolid;
    c.Brush.Color = selected ? clHighlight : Color();
    c.Pen.Style = psSolid;
    c.Pen.Color = c.Brush.Color;
    c.Font.SetColor(selected ? clHighlightText : Font.Color());
    c.Rectangle(rect);
    if (index >= 0 && index < Items().Count()) {
        TRect r = rect;
        OffsetRect(r, 2, 0);
        String anchor, plain, focus;
        int w = 0, h = 0, links = 0, hovered = 0;
        TRect hoveredRect;
        HtmlDrawText(c, Items()[index], r, images_, 0, 0, -1, -1, shadowOffset_, false, false, false, selected, true,
                     false, !ellipsis_, 1.0, selected ? clHighlightText : urlColor_, clNone, clNone, shadowColor_,
                     anchor, plain, focus, w, h, links, hovered, hoveredRect, cache_.get(), pictureStore_, 0);
    }
    c.Brush.Color = Color();
    c.Pen.Color = Color();
}

void TMarkupComboBox::MeasureItem(int index, int& height)
{
    height = 40;
    if (index < 0 || index >= Items().Count()) {
        height = EditHeight();
        return;
    }
    height = Measure(index).height + 4;
    SetItemHeight(height);
}

void TMarkupComboBox::Change()
{
    dropped_ = false;
    listCurrent_ = ItemIndex();
    TBaseCustomComboBox::Change();
}

void TMarkupComboBox::DropDown()
{
    if (Combo())
        Combo()->setMaxVisibleItems(std::max(1, DropHeight / std::max(1, ItemHeight())));
    TBaseCustomComboBox::DropDown();
    dropped_ = true;
    Click();
}


TMarkupComboBox::HitTest TMarkupComboBox::HitTestAt(int x, int y)
{
    HitTest result;
    int index = ItemIndex();
    if (index < 0 || index >= Items().Count())
        return result;
    TBitmap scratch(1, 1, pf24bit);
    TCanvas& c = scratch.Canvas();
    c.Font.Assign(Font);
    String plain, focus;
    int w = 0, h = 0, links = 0, hovered = 0;
    TRect hoveredRect;
    result.onAnchor = HtmlDrawText(c, Items()[index], ClientRect(), images_, x, y, -1, -1, shadowOffset_, true, false,
                                   false, true, true, false, !ellipsis_, 1.0, urlColor_, clNone, clNone, shadowColor_,
                                   result.anchor, plain, focus, w, h, links, hovered, hoveredRect, cache_.get(),
                                   pictureStore_, 0);
    return result;
}

void TMarkupComboBox::AnchorClickAt(int x, int y, bool& consumed)
{
    HitTest hit = HitTestAt(x, y);
    if (!hit.onAnchor)
        return;
    consumed = true;
    FollowAnchor(this, ItemIndex(), hit.anchor, OnAnchorClick);
}

void TMarkupComboBox::MouseMove(TShiftState shift, int x, int y)
{
    TBaseCustomComboBox::MouseMove(shift, x, y);
    if (ItemIndex() < 0 || ItemIndex() >= Items().Count())
        return;
    HitTest hit = HitTestAt(x, y);
    if (hit.onAnchor) {
        if (hit.anchor != LastAnchor)
            Fire(OnAnchorExit, this, ItemIndex(), LastAnchor);
        Fire(OnAnchorEnter, this, ItemIndex(), hit.anchor);
        SetCursor(crHandPoint);
        LastAnchor = hit.anchor;
    } else {
        if (Cursor() != crDefault || hit.anchor != LastAnchor)
            Fire(OnAnchorExit, this, ItemIndex(), LastAnchor);
        SetCursor(crDefault);
        LastAnchor.clear();
    }
}

void TMarkupComboBox::KeyDown(int& key, TShiftState shift)
{
    TBaseCustomComboBox::KeyDown(key, shift);
    if (key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN))
        LookupText.clear();
    else if (key == VK_BACK && !LookupText.empty())
        LookupText.pop_back();
}

void TMarkupComboBox::KeyPress(char& key)
{
    TBaseCustomComboBox::KeyPress(key);
    if (key == 0 || static_cast<unsigned char>(key) < ' ')
        return;
    FindLookupMatch(key);
    key = 0;  // the list's own first-letter search would pick another line
}

void TMarkupComboBox::FindLookupMatch(char key)
{
    // The typed letter is the user's choice, as a click in the list is: it is reported once.
    if (SelectLookupMatch(key))
        Change();
}

bool TMarkupComboBox::SelectLookupMatch(char key)
{
    if (IncrLookup)
        LookupText.push_back(key);
    else
        LookupText = String(1, key);
    auto matches = [&](int i) {
        String plain = UpperCase(StrippedItems(i));
        String wanted = UpperCase(LookupText);
        return plain.compare(0, wanted.size(), wanted) == 0;
    };
    auto search = [&](int from) {
        for (int i = std::max(from, 0); i < Items().Count(); ++i)
            if (matches(i)) {
                SetItemIndex(i);
                return true;
            }
        return false;
    };
    if (!(ItemIndex() < 0 && !IncrLookup) && search(ItemIndex() < 0 ? 0 : ItemIndex()))
        return true;
    if (search(0))
        return true;
    if (!IncrLookup)
        return false;
    LookupText = String(1, key);
    return search(0);
}

bool TMarkupComboBox::ControlHintAt(const TPoint&, String& text, TPoint& screenPos)
{
    // Without a chosen line the control's own hint stands.
    const int index = ItemIndex();
    if (!ItemHint || index < 0 || index >= Items().Count())
        return false;
    // The line's text at the control's corner; shown as plain text, never rendered as mark-up.
    text = HTMLHint ? Items()[index] : StrippedItems(index);
    screenPos = ClientToScreen({0, 0});
    return true;
}

bool TMarkupComboBox::HandleEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            break;
        bool consumed = false;
        QPoint p = e->position().toPoint();
        AnchorClickAt(p.x(), p.y(), consumed);
        if (consumed)
            return true;
        break;
    }
    case QEvent::FocusIn:
        LookupText.clear();
        break;
    default:
        break;
    }
    return TBaseCustomComboBox::HandleEvent(event);
}
