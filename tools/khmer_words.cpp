#include "khmer_words.h"

namespace sample {

// Each word in the legacy encoding (the Windows-1252 characters of its bytes,
// as the legacy fonts draw them), with its Unicode spelling. Before a vowel
// above, the signs MUUSIKATOAN and TRIISAP are drawn under the letter in the
// shape of the vowel U; a legacy font has no other way to draw them there,
// so these words write them as U ("suI" for ស៊ី).
const std::vector<std::string> &khmerWords()
{
    static const std::vector<std::string> words = {
        "RBH",                       // ព្រះ
        "RBHCam\xA9" "as;",          // ព្រះជាម្ចាស់
        "RBHeys\x91Uv",              // ព្រះយេស៊ូវ
        "RKIs\xDE",                  // គ្រីស្ទ
        "RBHviBa\xD8" "aN",          // ព្រះវិញ្ញាណ
        "brisuT\xA7",                // បរិសុទ្ធ
        "RBHbita",                   // ព្រះបិតា
        "buRt",                      // បុត្រ
        "kUn",                       // កូន
        "mnusS",                     // មនុស្ស
        "EpndI",                     // ផែនដី
        "s\xDF" "ansYK\x92",         // ស្ថានសួគ៌
        "emX",                       // មេឃ
        "Bn\xF8W",                   // ពន្លឺ
        "ggwt",                      // ងងឹត
        "Twk",                       // ទឹក
        "dI",                        // ដី
        "eP\xF8Ig",                  // ភ្លើង
        "x\xFCl;",                   // ខ្យល់
        "esck\xFEIRsLaj;",           // សេចក្ដីស្រឡាញ់
        "esck\xFEICMenO",            // សេចក្ដីជំនឿ
        "sg\xC7wm",                  // សង្ឃឹម
        "GFis\xE6" "an",             // អធិស្ឋាន
        "Bak\xFC",                   // ពាក្យ
        "c,ab;",                     // ច្បាប់
        "ehara",                     // ហោរា
        "savk",                      // សាវក
        "sisS",                      // សិស្ស
        "es\xFE" "c",                // ស្ដេច
        "nKr",                       // នគរ
        "RbCaCn",                    // ប្រជាជន
        "Rkug",                      // ក្រុង
        "PUmi",                      // ភូមិ
        "P\xF1M",                    // ភ្នំ
        "smuRT",                     // សមុទ្រ
        "Ten\xF8",                   // ទន្លេ
        "p\xF8Uv",                   // ផ្លូវ
        "p\xDEH",                    // ផ្ទះ
        "RBHvihar",                  // ព្រះវិហារ
        "Gahar",                     // អាហារ
        "nMbu\xBDg",                 // នំបុ័ង
        "Rsa",                       // ស្រា
        "ecom",                      // ចៀម
        "KgVal",                     // គង្វាល
        "eQIq\xE1" "ag",             // ឈើឆ្កាង
        "CIvit",                     // ជីវិត
        "esck\xFEIs\xF8" "ab;",      // សេចក្ដីស្លាប់
        "\xE9" "f\xB6",              // ថ្ងៃ
        "yb;",                       // យប់
        "q\xF1" "aM",                // ឆ្នាំ
        "Ex",                        // ខែ
        "eBl",                       // ពេល
        "\x5CLUv",                   // ឥឡូវ
        "]TahrN_",                   // ឧទាហរណ៍
        "|san",                      // ឦសាន
        "\xAB" "Buk",                // ឪពុក
        "m\xFE" "ay",                // ម្ដាយ
        "bgb\xA5Un",                 // បងប្អូន
        "\xC9",                      // ឯ
        "[",                         // ឱ្យ
        "\xBB",                      // ឱ
        "\xB4",                      // ខ្ញុំ
        "G\xF1k",                    // អ្នក
        "eK",                        // គេ
        "eyIg",                      // យើង
        "Kat;",                      // គាត់
        "nag",                       // នាង
        "Edl",                       // ដែល
        "nig",                       // និង
        "Ca",                        // ជា
        "man",                       // មាន
        ")an",                       // បាន
        "eTA",                       // ទៅ
        "mk",                        // មក
        "eFVI",                      // ធ្វើ
        "niyay",                     // និយាយ
        "s\xFE" "ab;",               // ស្ដាប់
        "emIl",                      // មើល
        "eXIj",                      // ឃើញ
        "dwg",                       // ដឹង
        "s\xC1" "al;",               // ស្គាល់
        "eCO",                       // ជឿ
        "seRg\xC1" "aH",             // សង្គ្រោះ
        "Gt;eTas",                   // អត់ទោស
        "B\xFC" "a)al",              // ព្យាបាល
        "edIr",                      // ដើរ
        "rs;",                       // រស់
        "s\xF8" "ab;",               // ស្លាប់
        "rs;eLIgvij",                // រស់ឡើងវិញ
        "beRgon",                    // បង្រៀន
        "eron",                      // រៀន
        "sresr",                     // សរសេរ
        "Gan",                       // អាន
        "eRcog",                     // ច្រៀង
        "GrKuN",                     // អរគុណ
        "sux",                       // សុខ
        "esck\xFEIsuxsan\xFE",       // សេចក្ដីសុខសាន្ត
        "l\xA5",                     // ល្អ
        "GaRkk;",                    // អាក្រក់
        "FM",                        // ធំ
        "tUc",                       // តូច
        "eRcIn",                     // ច្រើន
        "TaMgGs;",                   // ទាំងអស់
        "m\xF1" "ak;",               // ម្នាក់
        "mYy",                       // មួយ
        "BIr",                       // ពីរ
        "bI",                        // បី
        "bYn",                       // បួន
        "R)aM",                      // ប្រាំ
        "db;",                       // ដប់
        "ry",                        // រយ
        "Ban;",                      // ពាន់
        "muWn",                      // ម៉ឺន
        "k\xF1ug",                   // ក្នុង
        "elI",                       // លើ
        "eRkam",                     // ក្រោម
        "mux",                       // មុខ
        "eRkay",                     // ក្រោយ
        "xagekIt",                   // ខាងកើត
        "xaglic",                    // ខាងលិច
        "xageCIg",                   // ខាងជើង
        "xagt,Ug",                   // ខាងត្បូង
        "RtUv",                      // ត្រូវ
        "Bit",                       // ពិត
        "BitR)akd",                  // ពិតប្រាកដ
        "eBj",                       // ពេញ
        "RBlwg",                     // ព្រលឹង
        "cit\xFE",                   // ចិត្ត
        "d\xBE",                     // ដ៏
        "B\xBDt\x92man",             // ព័ត៌មាន
        "Fm\x92",                    // ធម៌
        "suI",                       // ស៊ី
        "em:ag",                     // ម៉ោង
        "b:uEn\xFE",                 // ប៉ុន្តែ
        "eRBaH",                     // ព្រោះ
        "dUec\xF1H",                 // ដូច្នេះ
        "ehIy",                      // ហើយ
        "k\xBE",                     // ក៏
        "eT",                        // ទេ
        "b\xA4",                     // ឬ
        "b\xA4T\xA7i",               // ឬទ្ធិ
        "B\xA3",                     // ឭ
        "B\xA4",                     // ឮ
        "b\xA3s",                    // ឫស
        "]bkrN_",                    // ឧបករណ៍
        "G\xF1kbeRmI",               // អ្នកបម្រើ
        "eTvta",                     // ទេវតា
        "sataMg",                    // សាតាំង
        "GMeBI)ab",                  // អំពើបាប
        "esck\xFEIsucrit",           // សេចក្ដីសុចរិត
        "esck\xFEIemt\xFE" "a",      // សេចក្ដីមេត្តា
        "kumar",                     // កុមារ
        "Rs\xFEI",                   // ស្ត្រី
        "burs",                      // បុរស
        "ek\xB5g",                   // ក្មេង
        "cas;",                      // ចាស់
        "f\xB5I",                    // ថ្មី
        "s",                         // ស
        "ex\xB5" "A",                // ខ្មៅ
        "Rkhm",                      // ក្រហម
        "mas",                       // មាស
        "R)ak;",                     // ប្រាក់
        "f\xB5",                     // ថ្ម
        "edImeQI",                   // ដើមឈើ
        "Ep\xF8",                    // ផ្លែ
        "p\xE1" "a",                 // ផ្កា
        "RsUv",                      // ស្រូវ
        "RKab;BUC",                  // គ្រាប់ពូជ
        "cm\xE1" "ar",               // ចម្ការ
        "ERs",                       // ស្រែ
        "RtI",                       // ត្រី
        "stV",                       // សត្វ
        "stVs\xF8" "ab",             // សត្វស្លាប
        "Eq\xE1",                    // ឆ្កែ
        "esH",                       // សេះ
        "cuH",                       // ចុះ
        "eLIg",                      // ឡើង
        "cUl",                       // ចូល
        "ecj",                       // ចេញ
        "Qr",                        // ឈរ
        "Gg\xC1uy",                  // អង្គុយ
        "edk",                       // ដេក
        "eRkak",                     // ក្រោក
        "yM",                        // យំ
        "esIc",                      // សើច
        "j:aM",                      // ញ៉ាំ
        "pwk",                       // ផឹក
        "eQ\xB5" "aH",               // ឈ្មោះ
        "sasna",                     // សាសនា
        "CMBUk",                     // ជំពូក
        "x",                         // ខ
        "kar",                       // ការ
        "BiFIbuN\xFC",               // ពិធីបុណ្យ
        "eQ\xB5" "al",               // ឈ្មោល
        "G\xF1kCMgW",                // អ្នកជំងឺ
        "RKUeBT\xFC",                // គ្រូពេទ្យ
        "vij",                       // វិញ
        "pg",                        // ផង
        "Nas;",                      // ណាស់
        "eTot",                      // ទៀត
        "dUcCa",                     // ដូចជា
        "rbs;",                      // របស់
        "BI",                        // ពី
        "dl;",                       // ដល់
        "enA",                       // នៅ
        "XuM",                       // ឃុំ
        "jati",                      // ញាតិ
        "s\xB5\xBDRK",               // ស្ម័គ្រ
        "zan",                       // ឋាន
        "vD\xC6n\xB3",               // វឌ្ឍនៈ
        "Z",                         // ឍ
        "Q\xF1H",                    // ឈ្នះ
        "Lan",                       // ឡាន
        "GuIRsaEGl",                 // អ៊ីស្រាអែល
        "eyrUsaLim",                 // យេរូសាឡិម
        "m:Ues",                     // ម៉ូសេ
        "G\xBDR)ahaM",               // អ័ប្រាហាំ
        "davID",                     // ដាវីឌ
        "eBRtus",                    // ពេត្រុស
        "b:ul",                      // ប៉ុល
        "m:arI",                     // ម៉ារី
        "y:Uhan",                    // យ៉ូហាន
        "eGEdn",                     // អេដែន
        "NUeG",                      // ណូអេ
        "k\xFEIGMNr",                // ក្ដីអំណរ
        "jjwm",                      // ញញឹម
        "Km<Ir",                     // គម្ពីរ
        "s<an",                      // ស្ពាន
        "viC\xA2" "a",               // វិជ្ជា
        "bBa\xC4" "b;",              // បញ្ឈប់
        "xN\xD0",                    // ខណ្ឌ
        "vN\xD1\xB3",                // វណ្ណៈ
        "sm\xD6" "ar\xB3",           // សម្ភារៈ
        "beBa\xE4H",                 // បញ្ឆេះ
        "Tuk\xE7",                   // ទុក្ខ
        "suxTuk\xE7",                // សុខទុក្ខ
        "m\xF0Ub",                   // ម្ហូប
        "bg\xF0" "aj",               // បង្ហាញ
        "sBa\xD8" "a",               // សញ្ញា
        "bBa\xD8" "a",               // បញ្ញា
        "GU+",                       // អូ៎
        "RBHKuN",                    // ព្រះគុណ
        "RBHraCa",                   // ព្រះរាជា
        "esck\xFEIBit",              // សេចក្ដីពិត
        "esck\xFEIGFi),ay",          // សេចក្ដីអធិប្បាយ
        "RBHbn\xDEUl",               // ព្រះបន្ទូល
        "RBHGg\xC1",                 // ព្រះអង្គ
        "BYksisS",                   // ពួកសិស្ស
        "hVUgmnusS",                 // ហ្វូងមនុស្ស
        "sasn_",                     // សាសន៍
        "CnCati",                    // ជនជាតិ
        "s\xDF" "an",                // ស្ថាន
        "RkumCMnuM",                 // ក្រុមជំនុំ
        "BiFICb;elog",               // ពិធីជប់លៀង
        "R)aCJa",                    // ប្រាជ្ញា
        "cMeNHdwg",                  // ចំណេះដឹង
        "k\xFEIRsLaj;",              // ក្ដីស្រឡាញ់
        "CYy",                       // ជួយ
        "TTYl",                      // ទទួល
        "p\xFEl;",                   // ផ្ដល់
        "ebIk",                      // បើក
        "biT",                       // បិទ
        "QW",                        // ឈឺ
        "CasHes,Iy",                 // ជាសះស្បើយ
    };
    return words;
}

const std::vector<std::string> &khmerPhrases()
{
    static const std::vector<std::string> phrases = {
        "\xAC" "m:afay %>#-&\xA6",   // (ម៉ាថាយ 5.3-7), a reference in Latin digits
        "q\xF1" "aM !($*",           // ឆ្នាំ 1948
        "CMBUk ^ @",                 // ជំពូក 6 2
        "2 \xF7 2 = 4",              // ២ + ២ = ៤
        "100` 500\xB9",              // ១០០៛ ៥០០៛
        "50\xB0 !\xBC@",             // ៥០% 1/2
        "eRcIn\xB2",                 // ច្រើនៗ
        "GU+",                       // អូ៎
        "GkSr G\xF6 G\xD7",          // អក្សរ អ្ផ អិ៍ (letters as a primer writes them)
    };
    return phrases;
}

const std::vector<std::pair<char, char>> &sameGlyphs()
{
    // Two bytes for one sign: the legacy fonts draw them in other places
    // for letters of other shapes; the text means the same.
    static const std::vector<std::pair<char, char>> pairs = {
        {'I', '\xCD'}, {'i', '\xED'}, {'w', '\xE5'}, {'W', '\xC5'}, {'u', '\xFA'}, {'U', '\xDA'},
        {'Y', '\xDC'}, {'o', '\xF3'}, {'O', '\xD3'}, {'M', '\xBF'}, {'J', '\xA3'}, {'R', '\xAE'},
    };
    return pairs;
}

} // namespace sample
