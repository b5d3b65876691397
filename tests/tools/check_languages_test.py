"""The resource checker finds each kind of gap a translation can have, and
passes one that has none."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = os.path.join(os.path.dirname(__file__), "..", "..", "src", "res", "check_languages.py")

HEADER = """#define IDS_HELLO 100
#define IDS_COUNT 101
#define IDS_PAIR  102
#define IDD_MAIN  200
#define IDC_NAME  1000
#define IDC_CHECK 1001
"""
LANGUAGES = """inline constexpr LanguageInfo kLanguages[] = {
    {"en-US", 0x0409, "English"},
    {"de-DE", 0x0407, "Deutsch"},
};
"""
WINNT = """#define LANG_ENGLISH 0x09
#define LANG_GERMAN 0x07
#define LANG_FRENCH 0x0c
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_GERMAN 0x01
"""
ENGLISH = """LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
STRINGTABLE
BEGIN
    IDS_HELLO   "Hello // not a comment"
    IDS_COUNT   "%u hidden windows"
    IDS_PAIR    "%s: %s"
END
IDD_MAIN DIALOGEX 0, 0, 100, 50
CAPTION "Main"
BEGIN
    LTEXT           "Name:", -1, 5, 5, 40, 8
    EDITTEXT        IDC_NAME, 50, 5, 40, 12
    CONTROL         "Check", IDC_CHECK, "Button",
                    BS_AUTOCHECKBOX, 5, 20, 80, 10 /* continued */
    DEFPUSHBUTTON   "OK", IDOK, 40, 35, 50, 14
END
"""
GERMAN = (ENGLISH.replace("LANG_ENGLISH, SUBLANG_ENGLISH_US", "LANG_GERMAN, SUBLANG_GERMAN")
          .replace('"Hello // not a comment"', '"Hallo"')
          .replace('"%u hidden windows"', '"%u versteckte Fenster"')
          .replace('"Name:"', '"Name:"')
          .replace('"Check"', '"Pr\u00fcfen"'))


class CheckLanguages(unittest.TestCase):
    def run_checker(self, files, languages=LANGUAGES):
        with tempfile.TemporaryDirectory() as root:
            lang = os.path.join(root, "lang")
            os.mkdir(lang)
            for name, text in files.items():
                with open(os.path.join(lang, name), "w", encoding="utf-8") as f:
                    f.write(text)
            paths = {}
            for name, text in {"resource.h": HEADER, "languages.h": languages, "winnt.h": WINNT}.items():
                paths[name] = os.path.join(root, name)
                with open(paths[name], "w", encoding="utf-8") as f:
                    f.write(text)
            stamp = os.path.join(root, "stamp")
            done = subprocess.run([sys.executable, CHECKER, lang, paths["resource.h"], paths["languages.h"],
                                   paths["winnt.h"], "--stamp", stamp], capture_output=True, text=True)
            return done.returncode, done.stderr, os.path.exists(stamp)

    def test_a_complete_translation_passes_and_stamps(self):
        code, said, stamped = self.run_checker({"en-US.rc": ENGLISH, "de-DE.rc": GERMAN})
        self.assertEqual((code, said, stamped), (0, "", True))

    def test_each_gap_is_named_and_stops_the_build(self):
        cases = [
            ("a missing string", GERMAN.replace('    IDS_PAIR    "%s: %s"\n', ""), "string 102 is missing"),
            ("a string English lacks", GERMAN.replace("END\nIDD", '    103 "extra"\nEND\nIDD'),
             "string 103 is not in English"),
            ("an empty string", GERMAN.replace('"Hallo"', '""'), "string 100 is empty"),
            ("a lost placeholder", GERMAN.replace('"%u versteckte Fenster"', '"versteckte Fenster"'),
             "string 101 has placeholders []"),
            ("placeholders reordered", GERMAN.replace('"%s: %s"', '"%s: %u"'), "string 102 has placeholders"),
            ("a missing dialog", GERMAN[:GERMAN.index("IDD_MAIN")], "dialog 200 is missing"),
            ("a missing control", GERMAN.replace('    EDITTEXT        IDC_NAME, 50, 5, 40, 12\n', ""),
             "dialog 200 has controls"),
            ("a changed tab order", GERMAN.replace(
                '    EDITTEXT        IDC_NAME, 50, 5, 40, 12\n', "").replace(
                '    DEFPUSHBUTTON', '    EDITTEXT        IDC_NAME, 50, 5, 40, 12\n    DEFPUSHBUTTON'),
             "dialog 200 has controls"),
            ("another language's mark", GERMAN.replace("LANGUAGE LANG_GERMAN,", "LANGUAGE LANG_FRENCH,"),
             "LANGUAGE LANG_FRENCH, SUBLANG_GERMAN is not 0x0407"),
            ("no mark", GERMAN.replace("LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n", ""), "no LANGUAGE statement"),
        ]
        for what, german, expected in cases:
            with self.subTest(what):
                code, said, stamped = self.run_checker({"en-US.rc": ENGLISH, "de-DE.rc": german})
                self.assertEqual(code, 1)
                self.assertIn(expected, said)
                self.assertFalse(stamped)

    def test_files_and_table_rows_must_pair(self):
        code, said, _ = self.run_checker({"en-US.rc": ENGLISH})
        self.assertEqual(code, 1)
        self.assertIn("de-DE: a language of the table has no file de-DE.rc", said)
        code, said, _ = self.run_checker({"en-US.rc": ENGLISH, "de-DE.rc": GERMAN, "fr-FR.rc": GERMAN})
        self.assertIn("fr-FR.rc: no row of the languages table names it", said)


if __name__ == "__main__":
    unittest.main()
