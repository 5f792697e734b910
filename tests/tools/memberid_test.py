"""ldtool memberid: the portal's scrambling as the loopback portal uses it."""
import unittest

import tool_support


def run(*args):
    return tool_support.run("memberid", *args)


class MemberIdTest(unittest.TestCase):
    def test_round_trip(self):
        for plain in ["tester 01@ludo.kr", "x" * 70]:
            scrambled = run("scramble", plain)
            self.assertEqual(scrambled.returncode, 0, scrambled.stderr)
            hex_text = scrambled.stdout.decode().strip()
            self.assertEqual(len(hex_text), 2 * len(plain) + 2)
            self.assertRegex(hex_text, r"^[0-9A-F]+$")
            back = run("unscramble", hex_text.lower())
            self.assertEqual(back.returncode, 0, back.stderr)
            self.assertEqual(back.stdout, plain.encode() + b"\n")

    def test_rejects_wrong_check_byte_and_plain_ids(self):
        hex_text = run("scramble", "gamer").stdout.decode().strip()
        bad = hex_text[:-1] + ("0" if hex_text[-1] != "0" else "1")
        for text in [bad, "gamer1", hex_text[1:]]:
            result = run("unscramble", text)
            self.assertEqual(result.returncode, 1, text)
            self.assertEqual(result.stdout, b"")

    def test_usage(self):
        self.assertEqual(run("scramble").returncode, 2)
        self.assertEqual(run("unscramble", "a", "b").returncode, 2)


if __name__ == "__main__":
    unittest.main()
