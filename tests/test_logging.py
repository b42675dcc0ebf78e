"""The bridge from the native "_native" logger to Python's logging."""

import logging
import subprocess
import sys

import pytest

from vorlin_reader._native import parse

LOGGER = "vorlin_reader._native"


@pytest.mark.parametrize("message", ["100% done {} {0} %s", "caf\u00e9 \u65e5\u672c", ""])
def test_warning_reaches_logging_unchanged(hooks, caplog, message):
    with caplog.at_level(logging.DEBUG, logger=LOGGER):
        hooks.warn(message)
    # The event below the native logger's level (sent right after) never arrives.
    assert [(r.name, r.levelno, r.getMessage()) for r in caplog.records] == [
        (LOGGER, logging.WARNING, message)]


def test_nothing_is_printed_without_logging_configuration():
    script = ("import ctypes, vorlin_reader._native as native\n"
              "hook = ctypes.PyDLL(native.__file__).vorlin_testing_warn\n"
              "hook.argtypes, hook.restype = [ctypes.py_object], ctypes.py_object\n"
              "hook('Failed to create media dir: File exists (os error 17)')\n")
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True)
    assert (run.returncode, run.stdout, run.stderr) == (0, "", "")


def test_a_handler_may_parse_again(hooks, sample_pdf, monkeypatch):
    documents = []
    handler = logging.Handler()
    monkeypatch.setattr(handler, "emit", lambda record: documents.append(parse(sample_pdf[0])))
    logging.getLogger(LOGGER).addHandler(handler)
    try:
        hooks.warn("again")
    finally:
        logging.getLogger(LOGGER).removeHandler(handler)
    assert len(documents) == 1 and len(documents[0]) == 1


def test_a_failing_logger_is_unraisable_not_fatal(hooks, monkeypatch):
    unraisable = []
    monkeypatch.setattr(sys, "unraisablehook", unraisable.append)

    def broken(message):
        raise RuntimeError("logging is broken")

    monkeypatch.setattr(logging.getLogger(LOGGER), "warning", broken)
    assert hooks.warn("lost") is None
    assert [type(u.exc_value) for u in unraisable] == [RuntimeError]

