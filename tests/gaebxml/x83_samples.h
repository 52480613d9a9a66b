#pragma once

#include <string>

// Small GAEB DA XML tenders for the tests, UTF-8 like the real files: a BoQ
// numbered by two area levels of 2 digits and items of 4 digits with an
// index, around the body given.

inline const std::string kNamespace83 = "http://www.gaeb.de/GAEB_DA_XML/DA83/3.3";

inline std::string X83Document(const std::string& content, const std::string& ns = kNamespace83) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GAEB xmlns=\"" + ns + "\">\n" + content +
         "</GAEB>\n";
}

inline std::string GaebInfoXml(const std::string& version = "3.3") {
  return "<GAEBInfo><Version>" + version + "</Version><VersDate>2021-05</VersDate></GAEBInfo>\n";
}

inline std::string BoQXml(const std::string& body, const std::string& infoExtra = "") {
  return "<BoQ ID=\"B1\">\n<BoQInfo><Name>LV 1</Name>"
         "<BoQBkdn><Type>BoQLevel</Type><Length>2</Length><Num>Yes</Num></BoQBkdn>"
         "<BoQBkdn><Type>BoQLevel</Type><Length>2</Length><Num>Yes</Num></BoQBkdn>"
         "<BoQBkdn><Type>Item</Type><Length>4</Length><Num>Yes</Num></BoQBkdn>"
         "<BoQBkdn><Type>Index</Type><Length>1</Length><Num>No</Num></BoQBkdn>" +
         infoExtra + "</BoQInfo>\n<BoQBody>\n" + body + "</BoQBody>\n</BoQ>\n";
}

inline std::string AwardXml(const std::string& boq, const std::string& dp = "83") {
  return "<Award>\n<DP>" + dp + "</DP>\n" + boq + "</Award>\n";
}

inline std::string CategoryXml(const std::string& id, const std::string& rno,
                               const std::string& label, const std::string& body) {
  return "<BoQCtgy ID=\"" + id + "\" RNoPart=\"" + rno + "\"><LblTx><p><span>" + label +
         "</span></p></LblTx>\n<BoQBody>\n" + body + "</BoQBody>\n</BoQCtgy>\n";
}

inline std::string ItemXml(const std::string& id, const std::string& rno, const std::string& qty,
                           const std::string& more = "") {
  return "<Item ID=\"" + id + "\" RNoPart=\"" + rno + "\"><Qty>" + qty + "</Qty><QU>m2</QU>" +
         more + "</Item>\n";
}

inline std::string ItemlistXml(const std::string& items) {
  return "<Itemlist>\n" + items + "</Itemlist>\n";
}

// A whole tender of phase 83 around the body of its BoQ.
inline std::string TenderX83(const std::string& body) {
  return X83Document(GaebInfoXml() + AwardXml(BoQXml(body)));
}
