# SPDX-License-Identifier: Apache-2.0
"""The report's page in a real browser: Debian's headless Chromium, driven
through ChromeDriver's WebDriver protocol (plain HTTP, no client library),
loads the page from a file:// URL with the network closed, and the plots
must be decoded at their natural size, laid out on the page, and drawn (the
browser's own screenshot of each plot element is not blank)."""
import base64
import io
import json
import os
import shutil
import socket
import struct
import subprocess
import time
import urllib.error
import urllib.request

import pytest

from corvuna import report as cr

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CAPTURE = os.path.join(os.environ.get("CORVUNA_CAPTURES") or os.path.join(ROOT, "..", "shared", "captures"),
                       "s1ap_o5gs_testepc.pcapng")
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--window-size=1400,1000"]


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class WebDriver:
    """The few WebDriver commands the test needs."""

    def __init__(self, port):
        self.base = f"http://127.0.0.1:{port}"
        self.session = None

    def call(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=60) as answer:
            return json.loads(answer.read())["value"]

    def start(self, chromium, profile):
        options = {"binary": chromium, "args": CHROMIUM_FLAGS + [f"--user-data-dir={profile}"]}
        value = self.call("POST", "/session", {"capabilities": {"alwaysMatch": {
            "browserName": "chrome", "goog:chromeOptions": options}}})
        self.session = value["sessionId"]

    def go(self, url):
        self.call("POST", f"/session/{self.session}/url", {"url": url})

    def script(self, source):
        return self.call("POST", f"/session/{self.session}/execute/sync", {"script": source, "args": []})

    def element_png(self, css):
        element = self.call("POST", f"/session/{self.session}/element", {"using": "css selector", "value": css})
        key = next(iter(element))
        return base64.b64decode(self.call("GET", f"/session/{self.session}/element/{element[key]}/screenshot"))

    def stop(self):
        if self.session:
            self.call("DELETE", f"/session/{self.session}")


@pytest.fixture()
def browser(tmp_path):
    chromium, driver = shutil.which("chromium"), shutil.which("chromedriver")
    if chromium is None or driver is None:
        pytest.skip("Debian's chromium and chromium-driver are not installed")
    port = _free_port()
    process = subprocess.Popen([driver, f"--port={port}"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    web = WebDriver(port)
    try:
        for _ in range(100):
            try:
                if web.call("GET", "/status").get("ready"):
                    break
            except (urllib.error.URLError, ConnectionError):
                time.sleep(0.1)
        web.start(chromium, tmp_path / "profile")
        yield web
    finally:
        try:
            web.stop()
        finally:
            process.terminate()
            process.wait(timeout=30)


def _png_size(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    return struct.unpack(">II", data[16:24])


def test_plots_show_in_chromium(browser, tmp_path):
    if not os.environ.get("CORVUNA_PROGRAM_DIR") or not os.path.isfile(CAPTURE):
        pytest.skip("needs CORVUNA_PROGRAM_DIR and the capture " + CAPTURE)
    import numpy
    from matplotlib import image
    report = cr.build(cr.records_of(CAPTURE))
    page = tmp_path / "report.html"
    page.write_text(cr.html(report), encoding="utf-8")
    browser.go(page.as_uri())
    images = browser.script(
        "return Array.from(document.images).map(i => ({id: i.id, complete: i.complete, "
        "width: i.naturalWidth, height: i.naturalHeight, shown: i.getBoundingClientRect().width, "
        "src: i.src.slice(0, 22)}))")
    assert {i["id"] for i in images} == {"plot-outcomes", "plot-rate"}
    for img in images:
        assert img["complete"] and img["src"] == "data:image/png;base64,"
        assert img["width"] > 300 and img["height"] > 100 and img["shown"] > 300
        shot = browser.element_png(f"#{img['id']}")
        width, height = _png_size(shot)
        assert width > 300 and height > 100
        pixels = image.imread(io.BytesIO(shot), format="png")
        colours = numpy.unique((pixels[:, :, :3] * 255).astype(int).reshape(-1, 3), axis=0)
        # Bars, lines and text in several colours, not an empty frame.
        assert len(colours) > 20
    # The document is the report: one UE section per UE, the first open.
    assert browser.script("return document.querySelectorAll('details.ue').length") == len(report["ues"])
    assert browser.script("return document.querySelector('details.ue').open") is True
    assert browser.script("return document.title").startswith("Corvuna report")
