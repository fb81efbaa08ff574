// SPDX-License-Identifier: MIT
// laboratorio.html against listdemo: a random session of commands (every
// command, accents, hostile texts, errors) typed into the page leaves in
// #transcricao exactly what `listdemo --interativo` writes on standard
// output for the same lines, and in #erros what it writes on standard
// error; the steps of a session (headings, lines, pictures) are those of
// `listdemo --interativo --passo --html`; a session saved is the lines
// typed, and opened again gives the same transcript. Then: the keys step,
// the predicting mode judges answers, hostile texts run nothing, a bad
// file gets a message, an abort inside the WebAssembly leaves the page
// usable, axe-core finds nothing serious, and a phone does not scroll
// sideways.
// Usage: node laboratorio_test.js laboratorio.html LISTDEMO
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');
const b = require('./browser.js');

const [pagina, listdemo] = process.argv.slice(2);
if (!pagina || !listdemo) {
  console.error('usage: node laboratorio_test.js laboratorio.html LISTDEMO');
  process.exit(2);
}
if (!fs.existsSync(pagina)) b.skip(`${pagina} was not built`);
if (!fs.existsSync(listdemo)) b.skip(`${listdemo} was not built`);

const pasta = fs.mkdtempSync(path.join(os.tmpdir(), 'listaenc-lab-'));

function programa(linhas, ...opcoes) {
  const r = spawnSync(listdemo, ['--interativo', ...opcoes], {
    input: linhas.map((l) => `${l}\n`).join(''), env: { LC_ALL: 'C' },
  });
  return { status: r.status, saida: r.stdout.toString('utf8'), erros: r.stderr.toString('utf8') };
}

// A session of `quantos` lines from a seeded generator: each command once
// in a shuffled order, then commands drawn at random, errors among them,
// and sair last.
function sessaoAleatoria(semente, quantos) {
  let x = semente;
  const proximo = (n) => { x = (x * 1103515245 + 12345) % 2147483648; return Math.floor(x / 65536) % n; };
  const textos = ['ana', 'José', '"Ana Maria"', 'Zoë', 'Ærø', '"<img src=x onerror=alert(1)>"',
    '\u202eevil', 'a"b', 'ção', '"</pre><script>alert(2)</script>"', 'x'];
  const texto = () => textos[proximo(textos.length)];
  const chave = () => String(proximo(45) - 5);
  const moldes = [
    () => `inserir ${chave()} ${texto()}`, () => `inserir ${chave()}`, () => `remover ${chave()}`,
    () => `removerinfo ${texto()}`, () => 'pop', () => 'inverter', () => 'ordenar', () => 'limpar',
    () => 'tamanho', () => `busca ${chave()}`, () => `buscainfo ${texto()}`, () => 'primeiro',
    () => 'exibir', () => 'exibirinfo', () => 'desenhar', () => 'ajuda',
    () => 'girar', () => `girar ${proximo(9)}`,
    // Lines that are not commands.
    () => 'xyz', () => 'inserir', () => 'inserir abc', () => 'remover 1 2', () => 'busca 99999999999',
    () => 'Inserir 3', () => 'removerinfo', () => 'girar -1', () => 'girar 2 3',
  ];
  const linhas = moldes.map((m) => m());
  for (let i = linhas.length - 1; i > 0; --i) {
    const j = proximo(i + 1);
    [linhas[i], linhas[j]] = [linhas[j], linhas[i]];
  }
  // Mostly insertions and the commands that move links, so that the list
  // grows and the steps have something to move.
  const frequentes = [0, 0, 0, 0, 2, 3, 4, 5, 6, 9, 12, 13, 17];
  while (linhas.length < quantos - 3) linhas.push(moldes[frequentes[proximo(frequentes.length)]]());
  // The hostile texts, whatever the draw.
  linhas.push('inserir 7 \u202eevil', 'buscainfo "<img src=x onerror=alert(1)>"', 'sair');
  return linhas;
}

// Where two texts part, for a failure's detail.
function diferenca(a, b) {
  let i = 0;
  while (i < a.length && i < b.length && a[i] === b[i]) ++i;
  return { em: i, pagina: a.slice(Math.max(0, i - 80), i + 80), programa: b.slice(Math.max(0, i - 80), i + 80) };
}

async function pronta(page) {
  await page.waitForFunction(() => {
    const f = window.laboratorio.estado.fase;
    return f === 'pronto' || f === 'fim';
  }, { timeout: 20000 });
}

async function digitar(page, linhas) {
  for (const linha of linhas) {
    const antes = await page.evaluate(() => window.laboratorio.estado.sessao.length);
    await page.type('#comando', linha);
    await page.keyboard.press('Enter');
    await page.waitForFunction((n) => window.laboratorio.estado.sessao.length > n &&
      window.laboratorio.estado.fase !== 'ocupado', { timeout: 20000 }, antes);
  }
}

async function transcricao(page) {
  return page.evaluate(() => ({
    saida: document.getElementById('transcricao').textContent,
    erros: document.getElementById('erros').textContent,
  }));
}

async function recomecar(page) {
  await page.click('#recomecar');
  await pronta(page);
}

// The steps as the lab has them, each picture parsed as the page parses it.
function passosDoLaboratorio(page) {
  return page.evaluate(() => {
    const { estado } = window.laboratorio;
    const parse = (svg) => new DOMParser().parseFromString(svg, 'text/html').body.firstElementChild.outerHTML;
    return estado.operacoes.flatMap((op) => op.passos.map((p) => ({
      titulo: p.titulo, linhas: p.linhas.join('\n'), svg: parse(estado.lab.desenho(p.id)),
      codigo: p.codigo.map((l, i) => (i + 1 === p.linha ? '> ' : '  ') + l).join('\n'),
    })));
  });
}

// The steps of listdemo's static page of the same session.
async function passosDaPaginaEstatica(browser, linhas) {
  const r = spawnSync(listdemo, ['--interativo', '--passo', '--html'], {
    input: linhas.map((l) => `${l}\n`).join(''), env: { LC_ALL: 'C' },
  });
  const arquivo = path.join(pasta, 'passos.html');
  fs.writeFileSync(arquivo, r.stdout);
  const page = await browser.newPage();
  await page.goto(`file://${arquivo}`);
  const passos = await page.$$eval('section.step', (secoes) => secoes.map((s) => {
    const h2 = s.querySelector('h2').cloneNode(true);
    h2.querySelector('.number').remove();
    const svg = s.querySelector('figure svg');
    const linhas = s.querySelector('pre.lines');
    const codigo = Array.from(s.querySelectorAll('ol.code li'), (li) =>
      (li.getAttribute('aria-current') === 'step' ? '> ' : '  ') + li.textContent).join('\n');
    return {
      codigo,
      titulo: h2.textContent.trim(),
      linhas: linhas ? linhas.textContent : '',
      svg: svg ? new DOMParser().parseFromString(svg.outerHTML, 'text/html').body.firstElementChild.outerHTML : '',
    };
  }));
  await page.close();
  return passos;
}

async function baixar(browser, pastaBaixados, nome, clicar) {
  const destino = path.join(pastaBaixados, nome);
  if (fs.existsSync(destino)) fs.unlinkSync(destino);
  await clicar();
  for (let i = 0; i < 200; ++i) {
    if (fs.existsSync(destino)) return fs.readFileSync(destino, 'utf8');
    await new Promise((r) => setTimeout(r, 50));
  }
  return null;
}

async function principal() {
  const browser = await b.launch();
  const baixados = path.join(pasta, 'baixados');
  fs.mkdirSync(baixados);
  const sessaoCdp = await browser.target().createCDPSession();
  await sessaoCdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: baixados });
  const page = await b.open(browser, pagina);
  const dialogos = [];
  page.on('dialog', async (d) => { dialogos.push(d.message()); await d.dismiss(); });
  await pronta(page);

  // A random session, typed; the transcript and the errors are listdemo's.
  const linhas = sessaoAleatoria(20261209, 48);
  await digitar(page, linhas);
  const esperado = programa(linhas);
  const visto = await transcricao(page);
  b.check(`a random session of ${linhas.length} lines: the transcript is listdemo's standard output`,
    visto.saida === esperado.saida, diferenca(visto.saida, esperado.saida));
  b.check('a random session: the errors are listdemo\'s standard error',
    visto.erros === esperado.erros && esperado.erros.split('\n').length > 5, diferenca(visto.erros, esperado.erros));
  b.check('after sair the command field is closed', await page.$eval('#comando', (e) => e.disabled));
  b.check('hostile texts: no element made of them, no dialog',
    await page.$$eval('img, iframe, object, embed', (e) => e.length) === 0 &&
    await page.$$eval('script', (e) => e.length) === 2 && dialogos.length === 0, dialogos);

  const ecos = await page.$$eval('#transcricao .eco', (es) => es.map((e) => e.dataset.comando));
  b.check('hostile texts: a right-to-left override typed is echoed escaped, as a message shows it',
    ecos.some((e) => e.includes('\\342\\200\\256')) && !ecos.some((e) => e.includes('\u202e')), ecos);

  // Were markup to get in all the same, the page's policy runs none of it.
  page.expectErrors = true;
  const ranMarkup = await page.evaluate(() => new Promise((resolve) => {
    const div = document.createElement('div');
    div.innerHTML = '<img src="data:," onerror="window.ranMarkup = true"><svg onload="window.ranMarkup = true"></svg>';
    document.body.append(div);
    setTimeout(() => { div.remove(); resolve(window.ranMarkup === true); }, 200);
  }));
  page.expectErrors = false;
  b.check('the page\'s policy runs no handler in markup', !ranMarkup);

  // Saved, the session is the lines given; opened, it gives the same.
  const salvo = await baixar(browser, baixados, 'sessao.txt', () => page.click('#salvar'));
  b.check('a saved session is the lines given, one a line', salvo === linhas.map((l) => `${l}\n`).join(''), salvo);
  const arquivoSessao = path.join(pasta, 'sessao.txt');
  fs.writeFileSync(arquivoSessao, salvo || '');
  await (await page.$('#abrir')).uploadFile(arquivoSessao);
  await page.waitForFunction(() => /^Sessão aberta/.test(document.getElementById('estado').textContent), { timeout: 20000 });
  const reaberto = await transcricao(page);
  b.check('a session opened again gives the same transcript and errors',
    reaberto.saida === esperado.saida && reaberto.erros === esperado.erros,
    [diferenca(reaberto.saida, esperado.saida), diferenca(reaberto.erros, esperado.erros)]);

  // The steps, headings, lines and pictures of the static page.
  await recomecar(page);
  const passosSessao = ['inserir 10 ana', 'inserir 20 "Bia Lú"', 'inserir 5 <b>x</b>', 'busca 20',
    'removerinfo <b>x</b>', 'remover 20', 'inserir 30', 'inverter', 'ordenar', 'pop', 'exibir', 'desenhar',
    'primeiro', 'limpar', 'inserir 1 z'];
  await digitar(page, passosSessao);
  const doLaboratorio = await passosDoLaboratorio(page);
  const estaticos = await passosDaPaginaEstatica(browser, passosSessao);
  const diferente = doLaboratorio.findIndex((p, i) => !estaticos[i] || p.titulo !== estaticos[i].titulo ||
    p.linhas !== estaticos[i].linhas || p.svg !== estaticos[i].svg || p.codigo !== estaticos[i].codigo);
  b.check(`the ${estaticos.length} steps are the static page's: headings, lines, code and pictures`,
    doLaboratorio.length === estaticos.length && diferente === -1,
    { quantos: [doLaboratorio.length, estaticos.length], diferente, lab: doLaboratorio[diferente], estatico: estaticos[diferente] });

  // The keys: → and ← by step, with Shift by operation, Home and End.
  await page.focus('#proximo');
  const titulo = () => page.$eval('#titulo-passo', (e) => e.textContent);
  const roteiro = [['Home', false, estaticos[0].titulo], ['ArrowRight', false, estaticos[1].titulo],
    ['ArrowRight', true, doLaboratorio.find((p) => p.titulo.startsWith('inserir 20')).titulo],
    // ← from the first step of an operation: the last step of the one before.
    ['ArrowLeft', false, estaticos[estaticos.findIndex((p) => p.titulo.startsWith('inserir 20')) - 1].titulo], ['End', false, estaticos[estaticos.length - 1].titulo]];
  for (const [tecla, shift, esperadoTitulo] of roteiro) {
    if (shift) await page.keyboard.down('Shift');
    await page.keyboard.press(tecla);
    if (shift) await page.keyboard.up('Shift');
    b.check(`the key ${shift ? 'Shift+' : ''}${tecla} shows "${esperadoTitulo}"`, await titulo() === esperadoTitulo, await titulo());
  }
  // The code beside a step that runs one of its lines, that line marked; none beside the last.
  const codigoVisto = () => page.$eval('#codigo-passo', (e) => ({
    visivel: !e.hidden && e.getBoundingClientRect().height > 0,
    marcadas: e.querySelectorAll('li[aria-current="step"]').length,
  }));
  await page.keyboard.press('Home');
  const noPrimeiro = await codigoVisto();
  b.check('the first step shows its code, one line marked', noPrimeiro.visivel && noPrimeiro.marcadas === 1, noPrimeiro);
  await page.keyboard.press('End');
  const noUltimo = await codigoVisto();
  b.check('the end of an operation shows no code', !noUltimo.visivel && noUltimo.marcadas === 0, noUltimo);
  // ↑ in the command field brings the last command back.
  await page.focus('#comando');
  await page.keyboard.press('ArrowUp');
  b.check('↑ in the command field brings the last command back',
    await page.$eval('#comando', (e) => e.value) === 'inserir 1 z');
  await page.$eval('#comando', (e) => { e.value = ''; });

  // Predicting: each step that changes a link asks where it will point.
  await recomecar(page);
  await digitar(page, ['inserir 10 a']);
  await page.focus('#proximo');
  await page.keyboard.press('p');
  b.check('the key P turns the predicting mode on', await page.$eval('#prever', (e) => e.checked));
  await digitar(page, ['inserir 20 b']);
  const respostas = [
    { elo: 'o next do nó 20 b', escolha: 'nulo', julgamento: /^Errado/ },
    { elo: 'o next do nó 10 a', escolha: 'nó 20 b', julgamento: /^Certo/ },
    { elo: 'o next do nó 20 b', escolha: 'nó 10 a', julgamento: /^Certo/ },
  ];
  for (const r of respostas) {
    for (let i = 0; i < 10 && await page.$eval('#pergunta', (e) => e.hidden); ++i) await page.click('#proximo');
    const pergunta = await page.$eval('#texto-pergunta', (e) => e.textContent);
    const botoes = await page.$$eval('button[data-resposta]', (bs) => bs.map((x) => x.textContent));
    b.check(`predicting: asked where ${r.elo} will point, with the elements, the header and nulo`,
      pergunta.includes(r.elo) && botoes.includes('nulo') && botoes.includes('a cabeça') && botoes.includes('nó 10 a'),
      { pergunta, botoes });
    const indice = botoes.indexOf(r.escolha);
    await (await page.$$('button[data-resposta]'))[indice].click();
    const julgamento = await page.$eval('[role="status"]', (e) => e.textContent);
    b.check(`predicting: ${r.escolha} judged ${r.julgamento}`, r.julgamento.test(julgamento), julgamento);
  }
  b.check('predicting: the running count', await page.$eval('#placar', (e) => e.textContent) === 'Acertos: 2 de 3.');
  await page.click('#prever');

  // axe-core and a phone's width, with steps on the page.
  b.check('axe-core: no serious or critical violation', (await b.axe(page)).length === 0, await b.axe(page));
  await page.setViewport({ width: 375, height: 667 });
  b.check('375 px wide: nothing scrolls sideways', !(await b.scrollsSideways(page)),
    await page.evaluate(() => document.documentElement.scrollWidth));
  await page.setViewport({ width: 1280, height: 720 });

  // A session file that is not text, and one too large.
  const binario = path.join(pasta, 'foto.png');
  fs.writeFileSync(binario, Buffer.from([0x89, 0x50, 0x4e, 0x47, 0xff, 0xfe, 0, 0]));
  await (await page.$('#abrir')).uploadFile(binario);
  await page.waitForFunction(() => !document.getElementById('aviso').hidden);
  b.check('a session that is not text: a clear message',
    /não é texto/.test(await page.$eval('#aviso', (e) => e.textContent)));
  const enorme = path.join(pasta, 'enorme.txt');
  fs.writeFileSync(enorme, '');
  fs.truncateSync(enorme, 2 * 1024 * 1024);
  await page.$eval('#aviso', (e) => { e.hidden = true; });
  await (await page.$('#abrir')).uploadFile(enorme);
  await page.waitForFunction(() => !document.getElementById('aviso').hidden);
  b.check('a session too large: the bound said in MB', /1 MB/.test(await page.$eval('#aviso', (e) => e.textContent)));

  const longa = path.join(pasta, 'longa.txt');
  fs.writeFileSync(longa, 'tamanho\n'.repeat(5001));
  await page.$eval('#aviso', (e) => { e.hidden = true; });
  await (await page.$('#abrir')).uploadFile(longa);
  await page.waitForFunction(() => !document.getElementById('aviso').hidden);
  b.check('a session of too many lines: the bound said',
    /5001 linhas.*até 5000/.test(await page.$eval('#aviso', (e) => e.textContent)));

  // An abort and an exception inside the WebAssembly: a message, and the
  // session starts again.
  for (const como of ['aborto', 'excecao']) {
    page.expectErrors = true;
    await page.evaluate((c) => window.laboratorio.chamar((lab, m) => m.Laboratorio.falhar(c)), como);
    await pronta(page);
    page.expectErrors = false;
    b.check(`${como} inside the WebAssembly: a message`,
      /recomeçou/.test(await page.$eval('#aviso', (e) => e.textContent)));
    await digitar(page, ['inserir 3 c', 'exibir']);
    b.check(`${como} inside the WebAssembly: a new session runs`,
      (await transcricao(page)).saida === programa(['inserir 3 c', 'exibir']).saida);
  }

  b.check('nothing went wrong on the page', page.trouble.length === 0, page.trouble);
  await b.close(browser);
}

principal().then(() => {
  fs.rmSync(pasta, { recursive: true, force: true });
  b.finish();
}, (erro) => {
  console.error(erro);
  process.exit(1);
});
