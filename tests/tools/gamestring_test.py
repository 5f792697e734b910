"""ldtool gamestring dump and gamestring analyse: the exact output forms that
operators and acceptance checks read, and the exit codes."""

import unittest

from tool_support import run


def assert_prints(test, args, expected):
    """Runs ldtool with args and asserts exit 0 and exactly the expected output."""
    r = run(*args)
    test.assertEqual(r.returncode, 0, r.stderr)
    test.assertEqual(r.stdout.decode(), expected)
    return r


ANSWER = (
    "ludoria://STONEBANchannel://ch1 metp://gs.example/a/b/c?x;"
    "k22e:8=STONEBAN&k93e:9=Stone Ban&k89e:20=http://dl.example/sb&"
    "k95e:19=http://www.example/&k96e:21=http://dl.example/hul&k60e:8=StoneBan&"
    "k91e:3=1.5&k3e:6=user01&k301e:7=a&b=c:d&k300e:6=TICKET&executor:3=web"
)


class DumpTest(unittest.TestCase):
    def test_first_gamestring_old_format(self):
        text = "ludoria://gs.example/gs.asp?k22e=STONEBAN&k300e=SECRET&lang=KOREAN /x y"
        r = assert_prints(
            self,
            ("gamestring", "dump", text),
            "* Commandline *\n"
            + text
            + "\n** head **\nludoria://gs.example/gs.asp\n"
            "** <key=value> parts **\n"
            "--- DONT CARE ---\nk300e=[TICKET]\n"
            '=== CARE ===\nk22e="STONEBAN"\nlang="KOREAN"\n'
            "** Other Params **\n/x y\n",
        )
        # The parts never show the ticket (the text line above them does).
        self.assertNotIn(b"SECRET", r.stdout.split(b"** <key=value> parts **")[1])

    def test_new_format_decodes_p_values(self):
        text = "ludoria://P=&P0=dXNlcjAx&P1=U1RPTkVCQU4=&P2=MjU2&P4=tok"
        assert_prints(
            self,
            ("gamestring", "dump", text),
            "* Commandline *\n"
            + text
            + "\n** head **\nludoria://\n"
            "** <key=value> parts **\n"
            '--- DONT CARE ---\nP4="tok"\n'
            '=== CARE ===\nP=""\nP0="user01"\nP1="STONEBAN"\nP2="256"\n\n',
        )

    def test_second_gamestring(self):
        r = run("gamestring", "dump", "--second", ANSWER)
        self.assertEqual(r.returncode, 0, r.stderr)
        out = r.stdout.decode()
        self.assertTrue(out.startswith("* 2nd Gamestring *\n" + ANSWER + "\n** head **\n"))
        self.assertIn("--- DONT CARE ---\nexecutor=\"web\"\nk22e=\"STONEBAN\"\n", out)
        self.assertIn("k300e=[TICKET]\nk301e=[COOKIE]\n=== CARE ===\n", out)
        self.assertNotIn("TICKET\"", out)
        self.assertEqual(run("gamestring", "dump", ANSWER, "--second").stdout, r.stdout)

    def test_usage(self):
        for args in ([], ["a", "b"], ["--bogus", "x"], ["--second"]):
            r = run("gamestring", "dump", *args)
            self.assertEqual(r.returncode, 2, args)
            self.assertIn(b"ldtool:", r.stderr)
        r = run("gamestring", "dump", "--help")
        self.assertEqual(r.returncode, 0)
        self.assertIn(b"usage: ldtool gamestring dump", r.stdout)
        # "--" lets a text start with "-".
        r = run("gamestring", "dump", "--", "-a=1")
        self.assertEqual(r.returncode, 0)
        self.assertIn(b'-a="1"', r.stdout)


class AnalyseTest(unittest.TestCase):
    def test_success_lines(self):
        assert_prints(
            self,
            ("gamestring", "analyse", ANSWER),
            "gameid=STONEBAN\n"
            "title=Stone Ban\n"
            "dist=http://dl.example/sb\n"
            "home=http://www.example/\n"
            "hul=http://dl.example/hul\n"
            "name=StoneBan\n"
            "version=1.50\n"
            "memberid=user01\n"
            "identifier=a\n"
            "executor=web\n",
        )

    def test_missing_fields_print_empty(self):
        assert_prints(
            self,
            ("gamestring", "analyse", "Gchannel://metp://a/b/c/;"),
            "gameid=G\ntitle=\ndist=\nhome=\nhul=\nname=\nversion=0.00\n"
            "memberid=\nidentifier=\nexecutor=\n",
        )

    def test_failure_words(self):
        cases = [
            ("ludoria://STONEBAN metp://a/b/c/;", "error:"),
            ("ludoria://Gchannel://metp://a/b/c/", "error: semicolon"),
        ]
        for text, expected in cases:
            r = run("gamestring", "analyse", text)
            self.assertEqual(r.returncode, 1, text)
            self.assertEqual(r.stdout.decode(), expected + "\n", text)

    def test_usage(self):
        for args in ([], ["a", "b"], ["--second", "x"]):
            r = run("gamestring", "analyse", *args)
            self.assertEqual(r.returncode, 2, args)
            self.assertIn(b"ldtool:", r.stderr)
        r = run("gamestring", "analyse", "--help")
        self.assertEqual(r.returncode, 0)
        self.assertIn(b"usage: ldtool gamestring analyse", r.stdout)
        r = run("gamestring", "--help")  # the group's help lists both
        self.assertEqual(r.returncode, 0)
        self.assertIn(b"gamestring dump", r.stdout)
        self.assertIn(b"gamestring analyse", r.stdout)


if __name__ == "__main__":
    unittest.main()
