#pragma once
// The lines of the result list for a catalogue reply: one mark-up line per title with its
// name as a link to its picture, the "Added : " line and one link per cover.
//
// Values from the reply are escaped: text cannot open tags or entities of its own, and a
// link's address cannot leave its quotes, so a reply adds no tags, anchors or pictures.
// What one reply may put in the list is bounded: at most kMaxReplyTitles lines, each with at
// most kMaxTitleCovers covers; a text longer than kMaxReplyText characters is cut and ends in
// an ellipsis, and an address longer than kMaxReplyLink bytes is left out.
#include "DataBinder1.h"

#include <functional>

constexpr int kMaxReplyTitles = 2000;
constexpr int kMaxTitleCovers = 50;
constexpr size_t kMaxReplyText = 200;
constexpr size_t kMaxReplyLink = 2048;

// Text for a run of mark-up: "<", ">" and "&" become entities, line breaks blanks.
String MarkupText(const String& value);
// An address inside href="...": quotes, angle brackets, line breaks, blanks and an "&" that
// would start an entity are percent-encoded; everything else stays as written.
String MarkupLinkTarget(const String& value);

String ReplyTitleLine(TXMLTitleType& title);

// Parses the reply's bytes and hands each title's line to add, in document order. Raises
// EDOMParseError for bytes that are not well-formed XML, EXMLDocError when the document
// element is not "rsp"; whatever add raises leaves it at once.
void ReplyLines(const std::string& bytes, const std::function<void(const String&)>& add);
